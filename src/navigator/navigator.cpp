#include "navigator/navigator.h"

#include <algorithm>

#include "dialogs/folder_lists.h"
#include "gpi/code_page.h"
#include "gpi/xml_text.h"
#include "messages/messages.h"
#include "platform/files.h"

namespace waymint::navigator {
namespace files = platform::files;
namespace {

// The longest model name shown; a longer Description is not a model name.
constexpr size_t longestModel = 100;

std::string joined(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || path.back() != '/') path += '/';
  return path.append(name);
}

std::string withoutSlashAtEnd(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

void addIfNavigator(std::string folder, std::vector<std::string>& found) {
  folder = withoutSlashAtEnd(std::move(folder));
  if (!files::isOrdinaryFile(joined(folder, deviceFile))) return;
  if (std::find(found.begin(), found.end(), folder) == found.end()) found.push_back(folder);
}

// The bounds of the content of the first element of local name `name` (any prefix) at or
// after `from`, or npos: [begin, end).
struct Span {
  size_t begin = std::string_view::npos;
  size_t end = std::string_view::npos;
};

bool isNameEnd(char c) { return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Where a start tag `<name` or `<prefix:name` begins at `at` (the "<"), true when it does.
bool tagNamed(std::string_view xml, size_t at, std::string_view name, bool closing) {
  size_t pos = at + 1;
  if (closing) {
    if (pos >= xml.size() || xml[pos] != '/') return false;
    ++pos;
  }
  size_t nameEnd = pos;
  while (nameEnd < xml.size() && !isNameEnd(xml[nameEnd])) ++nameEnd;
  std::string_view tag = xml.substr(pos, nameEnd - pos);
  if (const size_t colon = tag.rfind(':'); colon != std::string_view::npos) tag.remove_prefix(colon + 1);
  return tag == name && nameEnd < xml.size();
}

Span element(std::string_view xml, std::string_view name, size_t from, size_t until) {
  Span span;
  for (size_t at = xml.find('<', from); at < until; at = xml.find('<', at + 1)) {
    if (!tagNamed(xml, at, name, false)) continue;
    const size_t close = xml.find('>', at);
    if (close >= until || xml[close - 1] == '/') return span;
    for (size_t end = xml.find('<', close); end < until; end = xml.find('<', end + 1)) {
      if (tagNamed(xml, end, name, true)) return Span{close + 1, end};
    }
    return span;
  }
  return span;
}

bool looksLikeXml(std::string_view xml) {
  if (xml.starts_with("\xEF\xBB\xBF")) xml.remove_prefix(3);
  const size_t first = xml.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && xml[first] == '<' &&
         xml.find('\0') == std::string_view::npos;
}

// The text as it may be shown: control characters as "?", broken UTF-8 mended.
std::string shownText(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') c = '?';
  }
  gpi::repairUtf8(text.data(), text.size());
  return text;
}

}  // namespace

std::vector<std::string> navigatorFolders(const platform::MountPlaces& places) {
  std::vector<std::string> found;
  std::string table;
  try {
    table = files::readWhole(places.mountTable);
  } catch (const files::IoError&) {
    // Without the table the media folders may still show the navigator.
  }
  for (const std::string& volume : dialogs::volumesIn(table)) addIfNavigator(volume, found);
  for (const std::string& media : places.mediaFolders) {
    for (const std::string& user : files::subfolderNames(media)) {
      const std::string userFolder = joined(media, user);
      for (const std::string& drive : files::subfolderNames(userFolder)) {
        addIfNavigator(joined(userFolder, drive), found);
      }
    }
  }
  return found;
}

Model modelIn(std::string_view xml, std::string_view path) {
  if (!looksLikeXml(xml)) return Model{"", messages::deviceFileNotXml(path)};
  const Span model = element(xml, "Model", 0, xml.size());
  if (model.begin == std::string_view::npos) return Model{"", messages::deviceFileNoModel(path)};
  const Span description = element(xml, "Description", model.begin, model.end);
  if (description.begin == std::string_view::npos) {
    return Model{"", messages::deviceFileNoModel(path)};
  }
  std::string text(xml.substr(description.begin, description.end - description.begin));
  if (text.find('<') != std::string::npos) {  // markup inside: no plain name
    return Model{"", messages::deviceFileNoModel(path)};
  }
  const std::string_view decoded =
      gpi::decodeXmlText(text.data(), text.data() + text.size(), gpi::CodePage::Utf8);
  const std::string_view name = gpi::trimmed(decoded, gpi::CodePage::Utf8);
  if (name.empty() || name.size() > longestModel) {
    return Model{"", messages::deviceFileNoModel(path)};
  }
  return Model{shownText(std::string(name)), ""};
}

Model modelOf(std::string_view navigatorFolder) {
  const std::string path = joined(navigatorFolder, deviceFile);
  if (!files::exists(path)) return {};
  try {
    return modelIn(files::readWhole(path), path);
  } catch (const files::IoError& error) {
    return Model{"", messages::cannotBeRead(path, error.what())};
  }
}

std::string describeNavigator(std::string_view folder, const Model& model) {
  return model.name.empty() ? messages::unnamedNavigator(folder)
                            : messages::namedNavigator(model.name, folder);
}

}  // namespace waymint::navigator
