#pragma once

namespace waymint::app {
class Program;
}

namespace waymint::gpx {

// What a category run did: how it ended and how many POIs it wrote into the GPX.
struct RunResult {
  enum class End {
    Complete,         // the list is complete and, in a writing run, the GPX written
    NotStarted,       // a load or another run of the window was in progress
    NothingSelected,  // "Please select"
    BlankCategory,    // the category is blanks only: it names nothing
    InUse,            // another run holds the category's folder (said in the window)
    NoFolder,         // the category folder could not be made (said by the folder maker)
    NotMerged,        // "Error merging file": the GPX holds no "</gpx>"
    Failed,           // a file could not be read or written (said with the system's reason)
  };
  End end = End::NotStarted;
  int added = 0;
  bool complete() const { return end == End::Complete; }
};

// The category extraction run for the category selected in List1(2). A listing run (`aa`
// false) fills List1(0) with the names of the category's POIs; a writing run (`aa` true) also
// creates or extends the category's GPX file with the POIs it does not hold yet and lists
// them in List2. Sets `category`, `gpxpath`, Text4 and Image1 either way.
//
// The file is rebuilt in memory and replaced in one step at the end: on any failure it stays
// as it was. While a run is in progress (its own or another operation of the main window), a
// second call does nothing, so a run's category and path stay fixed for its whole length.
RunResult create_gpx(app::Program& program, bool aa);

}  // namespace waymint::gpx
