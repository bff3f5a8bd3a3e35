// Fill from base defaults: every parameter of the selected version set to its default.
#pragma once

namespace ravlet {

class Editor;

// Walks every group of the selected version and the full parameter list of each,
// using the Group and Parameters lists as the cursor, and writes each parameter's
// default into IniText where the key exists. Advanced, Group, Parameters and Value
// are disabled during the run, and so are the controls that could start another fill,
// load or save; all are restored afterwards. Ends with the groups of the version and
// the last group's full list, the last group and parameter selected.
void UpdateIniFile(Editor& editor);

}  // namespace ravlet

