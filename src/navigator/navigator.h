#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace waymint::navigator {

// A navigator connected over USB shows up as a mounted folder holding this file.
inline constexpr std::string_view deviceFile = "Garmin/GarminDevice.xml";
// Where a navigator reads custom POI files from, below its folder.
inline constexpr std::string_view poiFolder = "Garmin/POI";

// The folders of the connected navigators: the mount points of `places`' mount table and the
// folders two levels below its media folders that hold Garmin/GarminDevice.xml, each once,
// in the order found.
std::vector<std::string> navigatorFolders(const platform::MountPlaces& places);

// What Garmin/GarminDevice.xml says of the navigator.
struct Model {
  std::string name;  // the Model element's Description; empty when not known
  std::string note;  // why the name is not known, naming the file; empty when it is or no file
};
Model modelOf(std::string_view navigatorFolder);
// The same from the file's bytes; `path` names it in the note.
Model modelIn(std::string_view xml, std::string_view path);

// The navigator as the user knows it: its model and its folder.
std::string describeNavigator(std::string_view folder, const Model& model);

}  // namespace waymint::navigator
