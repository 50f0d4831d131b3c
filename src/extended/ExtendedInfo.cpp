#include "extended/ExtendedInfo.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/Fields.h"
#include "monitor/LogText.h"

namespace quorvane {

bool LocalAppFiles::FileExists(const std::string& path) const {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::optional<std::string> LocalAppFiles::ReadWholeFile(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

std::string ExtendedInfoKey(const ExtendedInfoSource& source) {
    if (source.GidSystem.empty()) {
        return RemoveAll(ReplaceAll(source.FreqShown, ".", "_"), " ");
    }
    return FixForLog(TrimBlanks(source.SystemText)) + "_" + FixForLog(source.TalkgroupId);
}

std::string ExtendedInfoCaption(const ExtendedInfoSource& source) {
    if (source.GidSystem.empty()) return source.FreqShown + " Extended Info";
    return TrimBlanks(source.GidSystem) + " " + source.TalkgroupId + " Extended Info";
}

bool LoadFileToTB(std::string& boxText, const std::string& filePath, const AppFiles& files,
                  bool append) {
    if (!files.FileExists(filePath)) return false;
    std::optional<std::string> bytes = files.ReadWholeFile(filePath);
    if (!bytes) return false;
    if (append) {
        boxText.append(*bytes);
    } else {
        boxText = std::move(*bytes);
    }
    return true;
}

ExtendedInfoView ExtendedInfoShow(const ExtendedInfoSource& source,
                                  const std::string& appDirectory, const AppFiles& files,
                                  const NamePathMaker& makePath) {
    ExtendedInfoView view;
    view.Caption = ExtendedInfoCaption(source);
    const std::string key = ExtendedInfoKey(source);

    view.PicturePath = JoinPath(appDirectory, kNotAvailablePicture);
    for (const char* extension : {".gif", ".png", ".jpg"}) {
        std::string path = makePath(appDirectory, key + extension);
        if (files.FileExists(path)) {
            view.PicturePath = std::move(path);
            break;
        }
    }

    const std::string notesPath = makePath(appDirectory, key + ".txt");
    if (files.FileExists(notesPath)) {
        std::string notes;
        if (LoadFileToTB(notes, notesPath, files)) view.Notes = std::move(notes);
    } else {
        view.Notes = std::string(kNotAvailableText);
    }
    return view;
}

}  // namespace quorvane
