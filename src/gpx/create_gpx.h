#pragma once

namespace waymint::app {
class Program;
}

namespace waymint::gpx {

// The category extraction run for the category selected in List1(2). A listing run (`aa`
// false) fills List1(0) with the names of the category's POIs; a writing run (`aa` true) also
// creates or extends the category's GPX file with the POIs it does not hold yet and lists
// them in List2. Sets `category`, `gpxpath`, Text4 and Image1 either way.
//
// The file is rebuilt in memory and replaced in one step at the end: on any failure it stays
// as it was. While a run is in progress (its own or another operation of the main window), a
// second call does nothing, so a run's category and path stay fixed for its whole length.
// True when the run went through to its end; false when it ended early (nothing selected,
// no folder, a GPX that cannot be merged or written) or did not start.
bool create_gpx(app::Program& program, bool aa);

}  // namespace waymint::gpx
