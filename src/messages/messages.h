#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// Every text the program says to its user, in one place for whoever translates or reviews
// them: what message boxes show, the failures they report, the activities the progress shows,
// and what waymint-cli writes to standard error. The captions of the windows stay with the
// windows. A text that names something (a file, a category) is a function of it; the texts
// are bytes, as everywhere in the program. The folder is the bottom of the stack: every layer
// may include it.
namespace waymint::messages {

namespace detail {
inline std::string join(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  return text;
}
}  // namespace detail

// --- in the words of the platform's own descriptions of such failures ---
inline constexpr std::string_view invalidCall = "Invalid procedure call or argument";
inline constexpr std::string_view overflow = "Overflow";
inline constexpr std::string_view outOfMemory = "Out of memory";

// --- files ---
// A failure on a file: its path and the system's description ("No such file or directory").
inline std::string fileFailure(std::string_view path, std::string_view why) {
  return detail::join({path, ": ", why});
}
inline std::string invalidFilename(std::string_view path) {
  return detail::join({"Invalid filename:", path});
}
inline std::string overwriteQuestion(std::string_view path) {
  return detail::join({path, " exists. Overwrite?"});
}
inline std::string notSaved(std::string_view path, std::string_view why) {
  return detail::join({path, " ", why});
}
inline std::string choicesNotKept(std::string_view folder, std::string_view why) {
  return detail::join({"Your choices cannot be kept: ", folder, " cannot be written (", why, ")."});
}

// --- reading an OSM file ---
inline std::string reading(std::string_view fileName) {
  return detail::join({"Reading ", fileName});
}
inline std::string notOsmFile(std::string_view path) {
  return detail::join({path, " is not an OpenStreetMap file (.osm, .osm.pbf, .osm.bz2, .osm.gz)."});
}
inline std::string incompleteCompressed(std::string_view path) {
  return detail::join({path, " is incomplete: it ends inside its compressed data."});
}
inline std::string damagedCompressed(std::string_view path) {
  return detail::join({path, " is damaged: its compressed data cannot be read."});
}
// `why`: libosmium's words ("PBF error: truncated data").
inline std::string damagedPbf(std::string_view path, std::string_view why) {
  return detail::join({path, " is damaged or incomplete: ", why, "."});
}
// What libosmium could not read in a file of any format (the areas are read with it), in its
// own words, as for a .osm.pbf.
inline std::string damagedForLibosmium(std::string_view path, std::string_view why) {
  return damagedPbf(path, why);
}
inline std::string changedWhileRead(std::string_view path) {
  return detail::join({path, " changed on disk while it was read."});
}

// --- the survey of the categories ---
inline constexpr std::string_view surveying = "Surveying";
inline constexpr std::string_view noOsmFileLoaded = "No OSM file is loaded.";

// --- a category's run: listing its POIs, writing its GPX ---
inline std::string listingProgress(std::string_view category) {
  return detail::join({"Listing ", category});
}
inline std::string writingProgress(std::string_view category) {
  return detail::join({"Writing ", category});
}
inline constexpr std::string_view pleaseSelect = "Please select";
inline std::string proximityNotAllowed(std::string_view given) {
  return detail::join({"The proximity must be a number of metres from -32768 to 32767, not \"",
                       given, "\". Nothing was written."});
}
inline std::string blankCategory(std::string_view listed) {
  return detail::join({"The category \"", listed,
                       "\" is blank: no POI and no GPX file can be named after it."});
}
inline std::string gpxInUse(std::string_view gpx) {
  return detail::join({gpx, " is in use by another run; try again when it has ended."});
}
inline std::string errorMerging(std::string_view gpx) {
  return detail::join({"Error merging file ", gpx});
}
// Out of memory, and what the run was doing: "writing <GPX>" or "listing <category>".
inline std::string outOfMemoryWriting(std::string_view gpx) {
  return detail::join({outOfMemory, " writing ", gpx});
}
inline std::string outOfMemoryListing(std::string_view category) {
  return detail::join({outOfMemory, " listing ", category});
}
// Out of memory reading a GPX, to show its waypoints or to edit it.
inline std::string outOfMemoryReading(std::string_view gpx) {
  return detail::join({outOfMemory, " reading ", gpx});
}
// After Create GPX: the POIs added, then the icon's path or `iconMissing`.
inline std::string gpxCreated(int added, std::string_view icon) {
  return detail::join({"GPX created\r\n\r\nNew POIs added: ", std::to_string(added), "\r\n", icon});
}
inline std::string iconMissing(std::string_view iconName, std::string_view gpx) {
  return detail::join({"\r\n", iconName, ".bmp not found in same folder as \r\n\r\n", gpx,
                       "\r\n\r\nPOI will remain invisible. Use Pixmold to create bitmap."});
}

// --- the File menu ---
inline std::string recentFileGone(std::string_view path) {
  return detail::join({path, " is no longer there (moved, renamed or deleted).\r\n\r\n"
                       "Remove it from the list of recent files?"});
}
inline constexpr std::string_view busyForFileMenu =
    "A file is being loaded or a GPX written: choose again when it has ended (Escape cancels "
    "a load).";

// --- the main window's GPX buttons, menus and launchers ---
inline std::string cannotFindGpx(std::string_view gpx) {
  return detail::join({"Cannot find gpx:\r\n'", gpx, "'"});
}
inline constexpr std::string_view noCategoryForGpx =
    "No category is chosen: choose one in the list of categories, then Show GPX shows its GPX.";
inline constexpr std::string_view selectCategoryToCreate =
    "Please select a category in the list of categories, then press Create GPX.";
inline std::string deleteQuestion(std::string_view gpx) {
  return detail::join({"Are you sure you want to delete '", gpx, "'"});
}
inline constexpr std::string_view clearListQuestion =
    "This will clear current list.Do you want to continue?";
// What the user can do when the desktop opens nothing: `advice` is one of the texts below.
inline std::string desktopCannotOpen(std::string_view target, std::string_view advice) {
  return detail::join({"The desktop could not open ", target, ". ", advice});
}
inline constexpr std::string_view adviceGpx =
    "Install a program that shows GPX files (a map or GPS program) and make it the desktop's "
    "program for .gpx files.";
inline constexpr std::string_view adviceWebPage =
    "Install a web browser and make it the desktop's browser, or copy the address into one.";
inline constexpr std::string_view adviceIcon =
    "Install an image editor and make it the desktop's program for .bmp files, or choose an "
    "icon editor in Tools > Settings.";
inline std::string desktopCannotStart(std::string_view program) {
  return detail::join({"The desktop could not start ", program, "."});
}
// `program`: "Pixmold" or "POI Loader".
inline std::string programNotSet(std::string_view program) {
  return detail::join({program, " is not set: choose it in Tools > Settings."});
}
inline constexpr std::string_view locateStyleEditor = "Please locate Style Editor in Settings.";

// --- the settings and the folder picker ---
inline constexpr std::string_view poiLoaderNotFound = "poiloader.exe not found";
inline constexpr std::string_view programNotFound = ".exe not found";
inline constexpr std::string_view invalidFolder = "Invalid folder.";
inline std::string notAProgram(std::string_view path) {
  return detail::join({path, " is not a program that can be started: choose an executable file "
                             "(the program, or a script that starts it)."});
}

// --- the GPX editors ---
// The platform's description of a cancelled dialog.
inline constexpr std::string_view cancelSelected = "Cancel was selected.";
inline constexpr std::string_view pleaseSelectFile = "Please select file.";
inline constexpr std::string_view checkProximity = "Check proximity";
inline constexpr std::string_view cannotParseFile = "Can't parse this file";
inline constexpr std::string_view proximityNotFound = "kennee find proximity";
inline constexpr std::string_view saving = "saving";

// --- making a GPI file: the GPX read, the icon checked ---
inline std::string notGpxFile(std::string_view path) {
  return detail::join({path, " is not a GPX file."});
}
// `what` is one of the faults below.
inline std::string malformedGpx(std::string_view path, size_t line, std::string_view what) {
  return detail::join(
      {path, " is not a well-formed GPX file (line ", std::to_string(line), ": ", what, ")."});
}
inline constexpr std::string_view declarationNotClosed = "the XML declaration is not closed";
inline constexpr std::string_view elementsNotClosed =
    "the file ends before its elements are closed";
inline constexpr std::string_view commentNotClosed = "a comment is not closed";
inline constexpr std::string_view textOutsideRoot = "text outside the root element";
inline constexpr std::string_view cdataNotClosed = "a CDATA section is not closed";
inline constexpr std::string_view instructionNotClosed = "a processing instruction is not closed";
inline constexpr std::string_view declarationInside = "a declaration inside the document";
inline constexpr std::string_view doctypeNotClosed = "the DOCTYPE is not closed";
inline constexpr std::string_view strayLessThan = "a \"<\" begins no tag";
inline constexpr std::string_view tagNotClosed = "a tag is not closed";
inline constexpr std::string_view secondRoot = "a second root element";
inline constexpr std::string_view endTagMismatch = "an end tag does not match its start tag";
// `encoding`: as the GPX names it, or `unknownEncoding`.
inline std::string gpxEncodingNotTaken(std::string_view path, std::string_view encoding) {
  return detail::join({path, " is written in ", encoding,
                       "; a GPI file is made from a UTF-8 or Windows-1252 GPX only."});
}
inline constexpr std::string_view unknownEncoding = "an unknown encoding";
inline std::string cannotBeRead(std::string_view path, std::string_view why) {
  return detail::join({path, " cannot be read: ", why, "."});
}
inline std::string cannotBeWritten(std::string_view path, std::string_view why) {
  return detail::join({path, " cannot be written: ", why, "."});
}
inline std::string noValidWaypoints(std::string_view gpx) {
  return detail::join({gpx, " holds no waypoints with a valid position; no GPI file was written."});
}
inline std::string tooLargeForGpi(std::string_view gpx) {
  return detail::join({gpx, " holds more than a GPI file can; no GPI file was written."});
}
// The notes on a GPI file written.
inline std::string waypoints(size_t count) {
  return std::to_string(count) + (count == 1 ? " waypoint" : " waypoints");
}
inline std::string withDefaultIcon(std::string_view iconProblem) {
  return detail::join({iconProblem, " The GPI file shows the default icon."});
}
inline std::string waypointsLeftOut(std::string_view gpi, size_t count) {
  return detail::join({gpi, ": ", waypoints(count), " without a valid position left out."});
}
inline std::string textsCut(std::string_view gpi, size_t count) {
  return detail::join({gpi, ": the texts of ", waypoints(count),
                       " cut to 65535 bytes, the most a GPI file holds."});
}
// What is wrong with an icon. `size`: its width and height ("30x30"); `kind`: what else the
// file is (`otherPicture`), or "".
inline constexpr std::string_view saveIconAgain =
    "save the icon again as a BMP with 8 bits per pixel.";
inline std::string otherPicture(std::string_view format) {
  return detail::join({" (it is a ", format, " picture)"});
}
inline std::string notBmp(std::string_view path, std::string_view kind) {
  return detail::join(
      {path, " is not a BMP picture", kind, ": save it as a BMP with 8 bits per pixel."});
}
inline std::string unknownBmpHeader(std::string_view path, std::uint32_t headerSize) {
  return detail::join({path, " is a BMP of a kind navigators do not read (a header of ",
                       std::to_string(headerSize), " bytes): ", saveIconAgain});
}
inline std::string bmpCutShort(std::string_view path, size_t size, std::uint64_t needed) {
  return detail::join({path, " is cut short (", std::to_string(size),
                       " bytes where its header needs ", std::to_string(needed), "): ",
                       saveIconAgain});
}
inline std::string bmpSizeMakesNoSense(std::string_view path) {
  return detail::join(
      {path, " is a damaged BMP (its size or planes make no sense): ", saveIconAgain});
}
inline std::string iconHasNoPixels(std::string_view path, std::string_view size) {
  return detail::join(
      {path, " has no pixels (", size, "): draw the icon at 24x24 pixels or smaller."});
}
inline std::string iconTooLarge(std::string_view path, std::string_view size) {
  return detail::join({path, " is ", size,
                       " pixels; navigators show icons up to 24x24 (some newer ones 48x48): "
                       "make it 24x24 or smaller."});
}
inline std::string iconColourDepth(std::string_view path, std::uint32_t bits) {
  return detail::join({path, " has ", std::to_string(bits),
                       " bits per pixel; navigators take 8, 24 or 32: save it with 8 bits per "
                       "pixel (256 colours)."});
}
// `compression`: one of the kinds below.
inline std::string compressedBmp(std::string_view path, std::string_view compression) {
  return detail::join({path, " is a compressed BMP (", compression,
                       "); navigators take only uncompressed ones: save it without compression."});
}
inline constexpr std::string_view rleCompression = "RLE";
inline constexpr std::string_view bitFieldsCompression = "bit fields";
inline constexpr std::string_view jpegCompression = "JPEG";
inline constexpr std::string_view pngCompression = "PNG";
inline std::string otherCompression(std::uint32_t kind) { return "kind " + std::to_string(kind); }
inline std::string bmpPaletteTooLarge(std::string_view path, std::uint32_t colours) {
  return detail::join(
      {path, " is a damaged BMP (", std::to_string(colours), " palette entries): ", saveIconAgain});
}

// --- sending GPI files to a navigator ---
inline std::string namedNavigator(std::string_view model, std::string_view folder) {
  return detail::join({"the navigator ", model, " (", folder, ")"});
}
inline std::string unnamedNavigator(std::string_view folder) {
  return detail::join({"the navigator at ", folder});
}
inline std::string deviceFileNotXml(std::string_view path) {
  return detail::join({path, " is not an XML file: the navigator's model is not known."});
}
inline std::string deviceFileNoModel(std::string_view path) {
  return detail::join({path, " names no model: the navigator's model is not known."});
}
// `how`: how a script or the window names the navigator to use.
inline std::string noNavigatorFound(std::string_view how) {
  return detail::join({"No navigator found: connect it by USB and let it be mounted (its folder "
                       "holds Garmin/GarminDevice.xml), ", how, ". Nothing was sent."});
}
inline constexpr std::string_view nameItWithDevice = "or name its folder with --device DIR";
inline constexpr std::string_view nameItInWindow = "then press Send to navigator again";
// `navigators`: each as namedNavigator/unnamedNavigator gives it, one a line.
inline std::string severalNavigators(std::string_view navigators) {
  return detail::join({"More than one navigator is connected:\r\n", navigators,
                       "Choose one with --device DIR. Nothing was sent."});
}
inline std::string sendToThisNavigator(std::string_view navigator) {
  return detail::join({"More than one navigator is connected. Send to ", navigator, "?"});
}
inline constexpr std::string_view noNavigatorChosen = "No navigator chosen. Nothing was sent.";
inline std::string notAFolder(std::string_view path) {
  return detail::join({path, " is not a folder."});
}
inline std::string noCategoryFolders(std::string_view gpxFolder) {
  return detail::join({gpxFolder, " holds no category folder with its GPX (<category>/"
                                  "<category>.gpx). Nothing was sent."});
}
inline std::string noSuchCategoryFolder(std::string_view gpxFolder, std::string_view category) {
  return detail::join({gpxFolder, " holds no ", category, "/", category, ".gpx: ", category,
                       " was not sent."});
}
inline std::string navigatorGone(std::string_view folder) {
  return detail::join({"The navigator ", folder,
                       " was removed while sending: connect it again and send once more."});
}
inline std::string navigatorFull(std::string_view path) {
  return detail::join({"The navigator is full: ", path,
                       " does not fit, and nothing of it was left on it. Make room (delete "
                       "files on the navigator) and send once more."});
}
inline std::string navigatorReadOnly(std::string_view folder, std::string_view why) {
  return detail::join({"The navigator ", folder, " cannot be written (", why,
                       "): unlock it or mount it for writing, then send once more."});
}
inline std::string sentTo(std::string_view navigator) {
  return detail::join({"Sent to ", navigator, ":"});
}
inline std::string nothingSentTo(std::string_view navigator) {
  return detail::join({"Nothing was sent to ", navigator, "."});
}
inline std::string gpiSent(std::string_view path, size_t pois) {
  return detail::join({path, ": ", std::to_string(pois), pois == 1 ? " POI" : " POIs"});
}
// `room`: as "1.2 GB".
inline std::string roomLeft(std::string_view room) {
  return detail::join({room, " left on the navigator."});
}
inline std::string notSentAfter(size_t count) {
  return detail::join({std::to_string(count), count == 1 ? " category was" : " categories were",
                       " not sent."});
}
inline std::string offerDefaultIcon(std::string_view iconProblem, std::string_view path) {
  return detail::join({iconProblem, "\r\n\r\nReplace ", path,
                       " by the program's default icon (24x24, 8 bits, magenta transparent)?"});
}
inline std::string iconMadeFromDefault(std::string_view path) {
  return detail::join({path, " is now the program's default icon."});
}
inline constexpr std::string_view sendingTo = "Sending to the navigator";

// --- waymint-cli, on standard error ---
// Before every line the tool writes there; a run's messages also name the category
// ("cafe: Please select"), messages while a file is read the file, unless they do.
inline constexpr std::string_view cliPrefix = "waymint-cli: ";
inline std::string aboutCategory(std::string_view category, std::string_view message) {
  return detail::join({category, ": ", message});
}
inline std::string cannotRead(std::string_view path, std::string_view why) {
  return detail::join({"cannot read ", path, ": ", why});
}
inline constexpr std::string_view notOpened = "not opened";
inline constexpr std::string_view starNotOpened = "a name holding \"*\" is not opened";
inline constexpr std::string_view notOrdinaryFile = "not an ordinary file";
inline std::string blankCategoryPassedOver(std::string_view category) {
  return detail::join({"passing over the blank category \"", category, "\""});
}
// `why`: ": " and the system's description, or "".
inline std::string cannotWriteOutput(std::string_view why) {
  return detail::join({"cannot write standard output", why});
}
// A wrong command line; the usage follows.
inline constexpr std::string_view noCommand = "no command given";
inline std::string unknownCommand(std::string_view name) {
  return detail::join({"unknown command ", name});
}
inline std::string unknownOption(std::string_view option) {
  return detail::join({"unknown option ", option});
}
inline std::string takesNoOption(std::string_view command, std::string_view option) {
  return detail::join({command, " takes no option ", option});
}
inline std::string givenTwice(std::string_view option) {
  return detail::join({option, " is given twice"});
}
inline std::string needsValue(std::string_view option) {
  return detail::join({option, " needs a value"});
}
// `what`: the rest of the command's synopsis ("OSM_FILE CATEGORY").
inline std::string needs(std::string_view command, std::string_view what) {
  return detail::join({command, " needs ", what});
}
inline std::string tooManyArguments(std::string_view command) {
  return detail::join({"too many arguments for ", command});
}
inline constexpr std::string_view writeNeedsOsmFile = "write needs OSM_FILE";
inline constexpr std::string_view categoriesOrAll =
    "write takes either CATEGORY... or --all, not both";
inline constexpr std::string_view writeNeedsCategories = "write needs CATEGORY... or --all";
inline constexpr std::string_view writeNeedsGpxFolder = "write needs --gpx-folder DIR";
inline constexpr std::string_view sendNeedsGpxFolder = "send needs GPX_FOLDER";
inline std::string proximityOutOfRange(std::string_view given) {
  return detail::join({"--proximity takes a distance from -32768 to 32767, not ", given});
}
inline std::string soundNotKnown(std::string_view given) {
  return detail::join({"--sound takes wav or mp3, not ", given});
}

}  // namespace waymint::messages
