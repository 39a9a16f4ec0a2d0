#!/usr/bin/env python3
"""Makes a big, valid OSM XML file for the benchmark out of a real extract.

    make_big_osm.py SOURCE COPIES OUT

SOURCE is an OSM XML file as osmium writes it, plain or compressed (.osm, .osm.bz2, .osm.gz).
OUT holds SOURCE's header, then its node section COPIES times, the node ids of copy k shifted
by k * 10^10 so that none repeats, then its ways and relations once (they refer to the first
copy's nodes). Standard library only.
"""
import bz2
import gzip
import re
import sys

ID_SHIFT = 10_000_000_000
NODE_ID = re.compile(rb'<node id="(\d+)"')


def read_extract(path):
    """The OSM XML text of a file, decompressed when its name says so."""
    opener = {'.bz2': bz2.open, '.gz': gzip.open}.get(path[path.rfind('.'):], open)
    with opener(path, 'rb') as source:
        return source.read()


def split_sections(text):
    """(head, nodes, rest): the lines before the first node, the node lines, the rest."""
    first_node = text.index(b'<node ')
    nodes_start = text.rindex(b'\n', 0, first_node) + 1
    first_other = text.find(b'<way ', first_node)
    if first_other < 0:
        first_other = text.find(b'<relation ', first_node)
    if first_other < 0:
        first_other = text.rindex(b'</osm>')
    nodes_end = text.rindex(b'\n', 0, first_other) + 1
    return text[:nodes_start], text[nodes_start:nodes_end], text[nodes_end:]


def shifted_nodes(nodes, copies):
    """The node section `copies` times, each copy's ids shifted by ID_SHIFT more."""
    pieces = NODE_ID.split(nodes)  # text, id, text, id, ..., text
    texts, ids = pieces[0::2], [int(i) for i in pieces[1::2]]
    if ids and max(ids) >= ID_SHIFT:
        sys.exit(f'node ids reach {ID_SHIFT}: copies would share ids')
    for copy in range(copies):
        shift = copy * ID_SHIFT
        parts = [texts[0]]
        for node_id, text in zip(ids, texts[1:]):
            parts += (b'<node id="%d"' % (node_id + shift), text)
        yield b''.join(parts)


def main(argv):
    if len(argv) != 4 or not argv[2].isdigit() or int(argv[2]) < 1:
        sys.exit(f'usage: {argv[0]} SOURCE COPIES OUT')
    head, nodes, rest = split_sections(read_extract(argv[1]))
    with open(argv[3], 'wb') as out:
        out.write(head)
        for section in shifted_nodes(nodes, int(argv[2])):
            out.write(section)
        out.write(rest)


if __name__ == '__main__':
    main(sys.argv)
