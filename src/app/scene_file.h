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

// The largest side of a picture, in a scene file as on the renderer's command line: a
// picture of any size is drawn a band of rows at a time, so only a row must fit in memory.
inline constexpr int kMaxPictureSide = 1000000;

// The largest scene file read: a scene the window writes takes a few kilobytes, and a cap
// keeps a file that is no scene from holding the window.
inline constexpr long long kMaxSceneFileSize = 64 * 1024;
// The most warnings one scene file gives; the last of them says how many more there were.
inline constexpr int kMaxSceneWarnings = 10;

// A text from outside as a message shows it: whole when short, else its start, "..." and
// its length, so that no message grows with what a file or an option holds.
std::string ShortText(const std::string& text);

// Whether a control takes a text given from outside, with the checks of the renderer's --set
// (also the Python module's): an edit a number within its range, the others what
// ControlValues::Set takes. A refusal names the control and says what it takes.
Status CheckControlText(const ControlSpec& f, const std::string& text);

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
