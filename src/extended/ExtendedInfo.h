#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "monitor/LogText.h"
#include "monitor/TickOutcome.h"

namespace quorvane {

// The few file operations the extended info needs, on the application folder.
class AppFiles {
public:
    virtual ~AppFiles() = default;
    virtual bool FileExists(const std::string& path) const = 0;
    // The whole file as bytes; nothing when it cannot be read.
    virtual std::optional<std::string> ReadWholeFile(const std::string& path) const = 0;
};

// AppFiles on the local file system.
class LocalAppFiles : public AppFiles {
public:
    bool FileExists(const std::string& path) const override;
    std::optional<std::string> ReadWholeFile(const std::string& path) const override;
};

// The picture shown when a reception has none of its own.
inline constexpr std::string_view kNotAvailablePicture = "extended_not_avilable.gif";
// The notes text shown when a reception has no notes file.
inline constexpr std::string_view kNotAvailableText = "Not Avilable";

// The file name (without extension) of a reception's notes and picture. A
// conventional reception (no talkgroup system) uses its frequency with "."
// turned into "_" and blanks dropped (" 154.4150" -> "154_4150"); a trunked one
// uses the file-name-safe system text without outer blanks, "_", and the
// file-name-safe talkgroup ID.
std::string ExtendedInfoKey(const ExtendedInfoSource& source);

// The caption of the extended-info frame: the frequency as shown, or the
// talkgroup system without outer blanks, a blank and the talkgroup ID;
// followed by " Extended Info".
std::string ExtendedInfoCaption(const ExtendedInfoSource& source);

// Loads a whole file into a text box's text (replacing it, or appending).
// Returns false and leaves the text alone when the file is missing or cannot
// be read.
bool LoadFileToTB(std::string& boxText, const std::string& filePath, const AppFiles& files,
                  bool append = false);

struct ExtendedInfoView {
    std::string Caption;
    // key.gif, else key.png, else key.jpg, else the not-available picture
    // (which may itself be missing: the window then draws a placeholder).
    std::string PicturePath;
    // The new notes text; nothing when the notes file exists but could not be
    // read, in which case the notes box keeps its text.
    std::optional<std::string> Notes;
};

// What the extended-info tab shows for a reception, from the files in the
// application folder; makePath names a file from the key.
ExtendedInfoView ExtendedInfoShow(const ExtendedInfoSource& source,
                                  const std::string& appDirectory, const AppFiles& files,
                                  const NamePathMaker& makePath = JoinPathBytes);

}  // namespace quorvane
