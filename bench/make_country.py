#!/usr/bin/env python3
"""Makes a synthetic OSM XML extract of a chosen size that looks like a real country.

    make_country.py SIZE OUT

SIZE is a byte count with an optional K, M or G suffix (powers of 1024): about OUT's size (the
mix's bytes per node are measured on a sample first). The proportions are those of the project's real extracts (osmium fileinfo -e and
grep on tests/data):

                      nodes    tagged nodes   ways           relations
    monaco            180118   3090 (1.7 %)   27377 (15 %)   212 (0.12 %)
    liechtenstein      65733   1562 (2.4 %)    7121 (11 %)   113 (0.17 %)

so here 2 % of the nodes hold tags, there is a way for every 7.5 nodes (about 9 node refs each,
a quarter of them closed areas with building, amenity or landuse tags) and a relation for every
700 nodes. Ids rise in order within each type, as osmium writes them; nodes, then ways, then
relations. Tag values and names are plausible, some in UTF-8 beyond Latin-1. The output is the
same for the same SIZE (a fixed seed). Standard library only.
"""
import random
import sys

TAGGED_SHARE = 0.02
NODES_PER_WAY = 7.5
NODES_PER_RELATION = 700
AREA_SHARE = 0.25
LAT_RANGE = (47.3, 54.9)
LON_RANGE = (5.9, 15.0)

USERS = ['anna_m', 'Bernd K', 'carto_fox', 'Dörte', 'Émile', 'fjord_mapper', 'Grüner Weg',
         'hiker42', 'Иван', 'jens_b', 'kartograf', 'Łukasz', 'mapper_jo', 'noémie', 'Øystein']
STREETS = ['Hauptstraße', 'Bahnhofstraße', 'Rue de la Paix', 'Kirchweg', 'Am Markt',
           'Schillerstraße', 'Lindenallee', 'Via Roma', 'Mühlenweg', 'Gartenstraße']
NAME_PARTS = ['Zur Sonne', 'Am Park', 'Café Müller', 'Zum Löwen', 'Bella Italia', 'Le Petit',
              'Goldener Hirsch', 'Seeblick', 'Ресторан Москва', '東京ラーメン', 'Alte Post',
              'Bäckerei Schäfer', 'Zur Linde', 'Olympia', 'Kirchenwirt', 'Sonnenhof']
# (weight, tags) of tagged nodes; names are added to those whose first key is marked '*'.
NODE_KINDS = [
    (20, [('highway', 'crossing'), ('crossing', 'zebra')]),
    (14, [('highway', 'bus_stop'), ('*name', None), ('bench', 'yes')]),
    (10, [('natural', 'tree'), ('leaf_type', 'broadleaved')]),
    (8, [('amenity', 'bench')]),
    (7, [('*name', None), ('amenity', 'restaurant'), ('cuisine', 'regional')]),
    (5, [('*name', None), ('amenity', 'cafe')]),
    (5, [('*name', None), ('shop', 'bakery'), ('opening_hours', 'Mo-Sa 06:00-18:00')]),
    (4, [('*name', None), ('tourism', 'hotel'), ('stars', '3')]),
    (4, [('amenity', 'parking'), ('access', 'yes')]),
    (3, [('*name', None), ('amenity', 'fuel'), ('brand', 'Aral')]),
    (3, [('*name', None), ('shop', 'supermarket')]),
    (3, [('amenity', 'post_box'), ('ref', 'DE 12')]),
    (3, [('*name', None), ('amenity', 'pharmacy'), ('dispensing', 'yes')]),
    (3, [('natural', 'peak'), ('*name', None), ('ele', '1234')]),
    (2, [('*name', None), ('amenity', 'place_of_worship'), ('religion', 'christian')]),
    (2, [('*name', None), ('tourism', 'viewpoint')]),
    (2, [('amenity', 'atm'), ('operator', 'Sparkasse')]),
    (2, [('created_by', 'JOSM')]),
]
WAY_KINDS = [
    (40, [('highway', 'residential'), ('*name', None)]),
    (20, [('highway', 'track'), ('tracktype', 'grade2')]),
    (10, [('highway', 'service')]),
    (10, [('waterway', 'stream')]),
    (8, [('highway', 'footway'), ('surface', 'asphalt')]),
]
AREA_KINDS = [
    (60, [('building', 'yes')]),
    (10, [('building', 'house'), ('addr:street', None), ('addr:housenumber', '12')]),
    (10, [('landuse', 'meadow')]),
    (8, [('landuse', 'forest')]),
    (6, [('*name', None), ('amenity', 'school')]),
    (6, [('amenity', 'parking')]),
]


def escape(text):
    return text.replace('&', '&amp;').replace('"', '&quot;').replace('<', '&lt;')


def weighted(kinds):
    return [tags for weight, tags in kinds for _ in range(weight)]


class Country:
    def __init__(self, out):
        self.out = out
        self.written = 0
        self.lines = []
        self.random = random.Random(20)
        self.node_kinds = weighted(NODE_KINDS)
        self.way_kinds = weighted(WAY_KINDS)
        self.area_kinds = weighted(AREA_KINDS)
        self.stamps = [self.meta(i) for i in range(4096)]

    def meta(self, i):
        r = random.Random(i)
        user = escape(r.choice(USERS))
        return (f'version="{r.randint(1, 9)}" timestamp="20{r.randint(10, 24):02d}-'
                f'{r.randint(1, 12):02d}-{r.randint(1, 28):02d}T{r.randint(0, 23):02d}:'
                f'{r.randint(0, 59):02d}:{r.randint(0, 59):02d}Z" uid="{r.randint(1, 9999999)}" '
                f'user="{user}" changeset="{r.randint(1000000, 140000000)}"')

    def emit(self, text):
        self.lines.append(text)
        if len(self.lines) >= 20000:
            self.flush()

    def flush(self):
        data = ''.join(self.lines).encode()
        self.out.write(data)
        self.written += len(data)
        self.lines = []

    def name(self):
        r = self.random
        return escape(f'{r.choice(NAME_PARTS)} {r.choice(STREETS)}' if r.random() < 0.3
                      else r.choice(NAME_PARTS))

    def tags(self, kinds):
        parts = []
        for key, value in self.random.choice(kinds):
            if key.startswith('*'):
                key, value = key[1:], self.name()
            elif value is None:
                value = escape(self.random.choice(STREETS))
            parts.append(f'    <tag k="{key}" v="{value}"/>\n')
        return ''.join(parts)

    def nodes(self, first, count):
        r, stamps = self.random, self.stamps
        lat0, lon0 = LAT_RANGE[0] * 1e7, LON_RANGE[0] * 1e7
        lat_span, lon_span = (LAT_RANGE[1] - LAT_RANGE[0]) * 1e7, (LON_RANGE[1] - LON_RANGE[0]) * 1e7
        for node_id in range(first, first + count):
            lat = int(lat0 + r.random() * lat_span)
            lon = int(lon0 + r.random() * lon_span)
            head = (f'  <node id="{node_id}" {stamps[node_id & 4095]} '
                    f'lat="{lat // 10000000}.{lat % 10000000:07d}" lon="{lon // 10000000}.{lon % 10000000:07d}"')
            if r.random() < TAGGED_SHARE:
                self.emit(f'{head}>\n{self.tags(self.node_kinds)}  </node>\n')
            else:
                self.emit(head + '/>\n')

    def ways(self, first, count, nodes):
        r, stamps = self.random, self.stamps
        for way_id in range(first, first + count):
            start = r.randrange(1, nodes)
            refs = [f'    <nd ref="{min(nodes, start + k)}"/>\n' for k in range(r.randint(2, 16))]
            if r.random() < AREA_SHARE:
                refs.append(refs[0])
                tags = self.tags(self.area_kinds)
            else:
                tags = self.tags(self.way_kinds)
            self.emit(f'  <way id="{way_id}" {stamps[way_id & 4095]}>\n{"".join(refs)}{tags}  </way>\n')

    def relations(self, first, count, ways):
        r, stamps = self.random, self.stamps
        for relation_id in range(first, first + count):
            outer = r.randrange(1, ways)
            members = ''.join(f'    <member type="way" ref="{min(ways, outer + k)}" role="{"outer" if k == 0 else "inner"}"/>\n'
                              for k in range(r.randint(1, 6)))
            self.emit(f'  <relation id="{relation_id}" {stamps[relation_id & 4095]}>\n{members}'
                      f'    <tag k="type" v="multipolygon"/>\n    <tag k="landuse" v="forest"/>\n  </relation>\n')


HEAD = ("<?xml version='1.0' encoding='UTF-8'?>\n"
        '<osm version="0.6" generator="waymint bench/make_country.py">\n'
        f'  <bounds minlat="{LAT_RANGE[0]}" minlon="{LON_RANGE[0]}" maxlat="{LAT_RANGE[1]}" maxlon="{LON_RANGE[1]}"/>\n')
TAIL = '</osm>\n'
BATCH = 100_000  # nodes per step; its ways and relations follow once all nodes are out


def parse_size(text):
    units = {'K': 1 << 10, 'M': 1 << 20, 'G': 1 << 30}
    scale = units.get(text[-1:].upper(), 1)
    number = text[:-1] if scale > 1 else text
    if not number.isdigit() or int(number) == 0:
        sys.exit(f'not a size: {text}')
    return int(number) * scale


def bytes_per_node():
    """The bytes the whole file spends per node: measured on a sample of the same mix."""
    class Counter:
        size = 0

        def write(self, data):
            self.size += len(data)
    sample = Country(Counter())
    nodes = 200_000
    sample.nodes(1, nodes)
    sample.ways(1, int(nodes / NODES_PER_WAY), nodes)
    sample.relations(1, nodes // NODES_PER_RELATION, int(nodes / NODES_PER_WAY))
    sample.flush()
    return sample.out.size / nodes


def main(argv):
    if len(argv) != 3:
        sys.exit(f'usage: {argv[0]} SIZE OUT')
    target = parse_size(argv[1])
    nodes = max(1000, int((target - len(HEAD) - len(TAIL)) / bytes_per_node()))
    ways = int(nodes / NODES_PER_WAY)
    relations = max(1, nodes // NODES_PER_RELATION)
    with open(argv[2], 'wb', buffering=1 << 20) as out:
        country = Country(out)
        country.emit(HEAD)
        for first in range(1, nodes + 1, BATCH):
            country.nodes(first, min(BATCH, nodes + 1 - first))
        for first in range(1, ways + 1, BATCH):
            country.ways(first, min(BATCH, ways + 1 - first), nodes)
        country.relations(1, relations, ways)
        country.emit(TAIL)
        country.flush()
    print(f'{argv[2]}: {country.written} bytes, {nodes} nodes, {ways} ways, {relations} relations')


if __name__ == '__main__':
    main(sys.argv)
