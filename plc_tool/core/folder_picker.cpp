#include "plc_tool/core/folder_picker.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "common/utf8_path.h"

namespace quarnwin {

namespace fs = std::filesystem;

namespace {

constexpr const char* kNotValidFolder = "\nThis is not a valid folder.";
constexpr const char* kDriveInvalid = "\nThe drive is invalid.";
constexpr const char* kNotADirectory = "\nThis is a file not a directory.";
constexpr const char* kCreateQuestion =
    "\nThis folder does not exist.\n\nDo you want to create it?";
constexpr const char* kRemovableFailure =
    "You cannot create this folder.\nThe medium may be write-protected.";
constexpr const char* kRemoteFailure =
    "You do not have permission to create\nthis folder on the network.";
constexpr const char* kCdRomFailure =
    "You cannot create this folder\nas the CD ROM medium is read-only.";
constexpr const char* kOpenFailure = "You do not have permission\nto create this folder.";
constexpr const char* kEnterFailure =
    "You do not have permission or\notherwise cannot create this folder.";

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}
char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}
bool IsLowerCase(char c) {
    return std::islower(static_cast<unsigned char>(c)) != 0;
}
bool IsUpperCase(char c) {
    return std::isupper(static_cast<unsigned char>(c)) != 0;
}

std::string ToLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), Lower);
    return text;
}
std::string ToUpper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), Upper);
    return text;
}
bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && ToLower(a) == ToLower(b);
}

// An upper-case short name ("PROGRAMME") reads better as "Programme".
std::string Capitalised(const std::string& name) {
    bool shortName =
        std::none_of(name.begin(), name.end(), [](char c) { return IsLowerCase(c) || c == ' '; });
    if (!shortName || name.empty()) return name;
    return name.substr(0, 1) + ToLower(name.substr(1));
}

}  // namespace

FolderPicker::FolderPicker(FolderPickerView& view, common::Frontend& frontend,
                           FolderPathStyle style)
    : view_(view), frontend_(frontend), style_(std::move(style)) {}

std::string FolderPicker::FilterText(const std::string& callerFilter) {
    return std::string(kFoldersOnlyFilter) +
           (callerFilter.empty() ? kAllFilesFilter : callerFilter);
}

void FolderPicker::Start(const std::string& initialFolder, const std::string& workingFolder) {
    std::string start =
        IsFolder(initialFolder) && !initialFolder.empty() ? initialFolder : workingFolder;
    fs::path path = style_.Resolve(start, workingFolder);
    std::string folder = style_.FolderText(path);
    view_.setField(FolderField{initialFolder, initialFolder.size(), initialFolder.size()});
    view_.showFolder(folder);
    FolderChanged(folder);
}

void FolderPicker::FolderChanged(const std::string& folder) {
    folder_ = folder;
    if (!style_.EndsWithSeparator(folder_)) folder_ += style_.separator;
    view_.setField(FolderField{folder_, folder_.size(), folder_.size()});
    view_.focusField();
}

bool FolderPicker::IsAbsolute(const std::string& text) const {
    fs::path path = common::PathFromUtf8(text);
    return path.is_absolute() || path.has_root_directory() || style_.HasDrive(text);
}

bool FolderPicker::IsFolder(const std::string& text) const {
    std::error_code error;
    return fs::is_directory(style_.Resolve(text, folder_), error);
}

void FolderPicker::Navigate(const std::string& text) {
    const FolderField earlier = view_.field();
    std::error_code error;
    fs::path target = style_.Resolve(text, folder_);
    bool enteredRelative = false;
    if (fs::is_directory(target, error)) {
        std::string folder = style_.FolderText(target);
        enteredRelative = folder != folder_ && !IsAbsolute(earlier.text);
        view_.showFolder(folder);
        FolderChanged(folder);
    }
    // The field keeps the technician's own spelling of an absolute path while the browser
    // follows it. A relative text that led into another folder is replaced by that folder's
    // path: it would name something else from there.
    FolderField now = view_.field();
    const std::string& before = earlier.text;
    if (before.empty() || before[0] == '.' || enteredRelative ||
        EqualIgnoringCase(now.text, before) ||
        EqualIgnoringCase(now.text, before + style_.Separator())) {
        now.selectionStart = now.selectionEnd = now.text.size();
        view_.setField(now);
    } else {
        view_.setField(earlier);
    }
}

FolderPicker::Decision FolderPicker::Stop() {
    view_.focusField();
    return Decision::Stay;
}

bool FolderPicker::OfferCreation(const std::string& text, const char* otherDriveFailure) {
    if (!frontend_.ask(text + kCreateQuestion)) return false;
    std::error_code error;
    fs::path target = style_.Resolve(text, folder_);
    fs::create_directories(target, error);
    if (!error && fs::is_directory(target, error)) return true;
    DriveKind kind = style_.IsNetworkPath(text) ? DriveKind::Remote : style_.DriveOf(text);
    switch (kind) {
        case DriveKind::Removable:
            frontend_.message(kRemovableFailure);
            break;
        case DriveKind::Remote:
            frontend_.message(kRemoteFailure);
            break;
        case DriveKind::CdRom:
            frontend_.message(kCdRomFailure);
            break;
        default:
            frontend_.message(otherDriveFailure);
            break;
    }
    return false;
}

FolderPicker::Decision FolderPicker::Open() {
    std::string text = view_.field().text;
    const size_t n = text.size();
    if (n == 2 && style_.IsNetworkPath(text)) {
        frontend_.message(text + kNotValidFolder);
        return Stop();
    }
    if (style_.IsDriveLetter(text) || style_.IsDriveRoot(text)) {
        if (!style_.DriveIsValid(text)) {
            frontend_.message(text + kDriveInvalid);
            return Stop();
        }
    } else if (n != 0 && text != style_.Separator()) {
        if (style_.EndsWithSeparator(text)) text.pop_back();
        std::error_code error;
        fs::file_status status = fs::status(style_.Resolve(text, folder_), error);
        if (!fs::exists(status)) {
            if (style_.HasDrive(text) && !style_.DriveIsValid(text)) {
                frontend_.message(text + kDriveInvalid);
                return Stop();
            }
            if (style_.IsNetworkPath(text) &&
                std::count_if(text.begin() + 2, text.end(),
                              [this](char c) { return style_.IsSeparator(c); }) < 2) {
                frontend_.message(text + kNotValidFolder);
                return Stop();
            }
            if (!OfferCreation(text, kOpenFailure)) return Stop();
        } else if (!fs::is_directory(status)) {
            frontend_.message(text + kNotADirectory);
            return Stop();
        }
    }
    Navigate(text);
    return Decision::Accept;
}

void FolderPicker::Tab() {
    view_.focusOpenButton();
}

void FolderPicker::Enter() {
    std::string text = view_.field().text;
    const std::string sep = style_.Separator();
    bool keepSeparator = text == sep || text == sep + sep || style_.IsDriveRoot(text);
    if (!keepSeparator && style_.EndsWithSeparator(text)) text.pop_back();

    bool serverOnly = style_.IsNetworkPath(text) && text.size() > 2 &&
                      std::none_of(text.begin() + 2, text.end(),
                                   [this](char c) { return style_.IsSeparator(c); });
    if (text == sep || serverOnly || style_.IsDriveLetter(text) || style_.IsDriveRoot(text)) {
        Navigate(text);
        return;
    }
    std::error_code error;
    fs::file_status status = fs::status(style_.Resolve(text, folder_), error);
    if (!fs::exists(status)) {
        if (!OfferCreation(text, kEnterFailure)) {
            view_.focusField();
            return;
        }
    } else if (!fs::is_directory(status)) {
        frontend_.message(text + kNotADirectory);
        view_.focusField();
        return;
    }
    Navigate(text);
    FolderField field = view_.field();
    if (!style_.EndsWithSeparator(field.text)) field.text += style_.separator;
    field.selectionStart = field.selectionEnd = field.text.size();
    view_.setField(field);
    view_.focusField();
}

void FolderPicker::AfterDelete() {
    const std::string text = view_.field().text;
    if (text == style_.Separator() || (style_.IsDriveRoot(text) && style_.DriveIsValid(text)) ||
        (style_.EndsWithSeparator(text) && IsFolder(text)))
        Navigate(text);
}

void FolderPicker::AfterCharacter(char typed) {
    const FolderField field = view_.field();
    const std::string& text = field.text;
    const std::string sep = style_.Separator();
    if (text == sep || text == sep + sep ||
        (style_.IsDriveRoot(text) && style_.DriveIsValid(text)) ||
        (style_.EndsWithSeparator(text) && IsFolder(text))) {
        Navigate(text);
        return;
    }
    if (field.CaretAtEnd() && typed != '\b') TypeAhead(typed);
}

void FolderPicker::TypeAhead(char typed) {
    FolderField field = view_.field();
    const std::string& text = field.text;
    size_t cut = text.find_last_of(style_.drives ? "\\/:" : "/");
    std::string folderPart = cut == std::string::npos ? std::string() : text.substr(0, cut + 1);
    std::string typedPart = cut == std::string::npos ? text : text.substr(cut + 1);

    std::error_code error;
    fs::path folder =
        folderPart.empty() ? common::PathFromUtf8(folder_) : style_.Resolve(folderPart, folder_);
    fs::directory_iterator entries(folder, error);
    if (error) return;
    std::string match;
    int folders = 0;
    for (const auto& entry : entries) {
        std::string name = common::Utf8FromPath(entry.path().filename());
        if (!style_.StartsWithName(name, typedPart)) continue;
        std::error_code kindError;
        if (!entry.is_directory(kindError)) continue;
        if (++folders > 1) return;
        match = name;
    }
    if (folders != 1 || match.size() < typedPart.size()) return;

    if (style_.drives) {
        // The file system ignores letter case, so the completion may follow the typing.
        match = Capitalised(match);
        if (!typedPart.empty()) {
            const size_t last = typedPart.size() - 1;
            if (typedPart[last] != match[last])
                match = IsUpperCase(typed) ? ToUpper(match) : ToLower(match);
        }
    }
    std::string rest = match.substr(typedPart.size());
    field.selectionStart = text.size();
    field.text += rest;
    field.selectionEnd = field.text.size();
    view_.setField(field);
}

}  // namespace quarnwin
