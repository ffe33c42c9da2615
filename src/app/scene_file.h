// Scene files: every control of the window, the task type and the last picture kind, as a
// versioned JSON text that a user can read and that the window and the renderer both open.
#pragma once

#include <string>
#include <vector>

#include "base/status.h"
#include "model/controls.h"
#include "model/scene.h"

namespace vorla {

// The version this program writes and the newest it reads.
inline constexpr int kSceneVersion = 1;

// What a scene file holds.
struct SceneState {
    ControlValues controls;  // every control; the ones a file leaves out keep their defaults
    TaskType taskType = TaskType::None;
    int pictureKind = 0;  // the menu tag of the last picture; 0 before the first
    int width = 0;        // the tabula's size when saved; 0: not given
    int height = 0;
};

// A colour as a scene file holds it: its name when it has one, else #RRGGBB.
std::string ColourValue(Colour c);

// The text of a scene file, the controls in the order of the control table.
std::string SceneFileText(const SceneState& scene);

// Reads a scene file's text; `file` names it in the messages. Everything is checked before
// anything is given back: a failure names the file and the key at fault (a newer version is
// refused). A key this program does not know adds a warning to `warnings` and is skipped.
Result<SceneState> ParseSceneText(const std::string& text, const std::string& file,
                                  std::vector<std::string>* warnings);

// Reads the scene file at `path`, as ParseSceneText.
Result<SceneState> ReadSceneFile(const std::string& path, std::vector<std::string>* warnings);
// Writes the scene file at `path`: an existing file is replaced only by a complete new one.
Status WriteSceneFile(const SceneState& scene, const std::string& path);

}  // namespace vorla
