// The toolkit's file-open dialog, shown for one request of the editor: the editor keeps
// the file name, the dialog only starts from it.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "editor/platform.hpp"

class QWidget;

namespace ravlet {

// The file types as the toolkit's "desc (pattern);;desc (pattern)".
QString QtNameFilters(const std::vector<FileFilter>& filters);

// Shows the open dialog modally over `parent` with the request's title, filter and
// initial file. The chosen file as a native path, or nullopt when the user cancelled.
std::optional<std::string> RunOpenDialog(QWidget* parent, const OpenDialogRequest& request);

}  // namespace ravlet
