#include "encoder/SidecarFiles.h"

#include "encoder/DescriptorIO.h"
#include "encoder/EncoderError.h"
#include "encoder/TextEncoding.h"
#include "platform/LanguageCodes.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace velmora::encoder {
namespace {

constexpr std::array<std::string_view, 4> kExtensions = {"srt", "ass", "ssa", "vtt"};
// Words that describe a subtitle file rather than its language; "forced" is the one that matters.
constexpr std::array<std::string_view, 6> kFlagWords = {"forced", "default", "sdh", "hi", "cc", "full"};
constexpr off_t kLargestSidecar = 16 * 1024 * 1024;

struct DirectoryCloser {
    void operator()(DIR* directory) const { closedir(directory); }
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// The English names people write in place of a code: "film.English.srt".
constexpr std::pair<std::string_view, std::string_view> kLanguageNames[] = {
    {"english", "eng"},    {"japanese", "jpn"},  {"chinese", "chi"},    {"korean", "kor"},
    {"french", "fre"},     {"german", "ger"},    {"spanish", "spa"},    {"italian", "ita"},
    {"portuguese", "por"}, {"brazilian", "por"}, {"russian", "rus"},    {"ukrainian", "ukr"},
    {"polish", "pol"},     {"czech", "cze"},     {"slovak", "slo"},     {"hungarian", "hun"},
    {"romanian", "rum"},   {"bulgarian", "bul"}, {"croatian", "hrv"},   {"serbian", "srp"},
    {"slovenian", "slv"},  {"greek", "gre"},     {"turkish", "tur"},    {"arabic", "ara"},
    {"hebrew", "heb"},     {"thai", "tha"},      {"vietnamese", "vie"}, {"indonesian", "ind"},
    {"dutch", "dut"},      {"swedish", "swe"},   {"danish", "dan"},     {"norwegian", "nor"},
    {"finnish", "fin"},    {"persian", "per"},   {"hindi", "hin"},      {"malay", "may"},
};

// The language hint a word of the name stands for, or empty.
std::string NamedLanguage(const std::string& word) {
    for (const auto& [name, code] : kLanguageNames)
        if (word == name)
            return std::string(code);
    return IsLanguageTag(word) || word == "chs" || word == "cht" ? LanguageHintFor(word) : std::string();
}

bool IsTrackNumber(std::string_view word) {
    return !word.empty() && word.size() <= 3 &&
           std::all_of(word.begin(), word.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

size_t ExtensionRank(std::string_view extension) {
    return static_cast<size_t>(std::find(kExtensions.begin(), kExtensions.end(), Lower(extension)) -
                               kExtensions.begin());
}

// Reads "LANG.forced.srt" (what follows the base name and its dot) into `sidecar`; false when the words
// are not a language and flags followed by a subtitle extension.
bool ReadNameTail(std::string_view tail, SidecarFile& sidecar) {
    size_t dot = tail.rfind('.');
    std::string_view extension = dot == std::string_view::npos ? tail : tail.substr(dot + 1);
    if (ExtensionRank(extension) == kExtensions.size())
        return false;
    std::string_view words = dot == std::string_view::npos ? std::string_view() : tail.substr(0, dot);
    bool languageSeen = false;
    while (!words.empty()) {
        size_t end = std::min(words.find('.'), words.size());
        std::string word = Lower(words.substr(0, end));
        words.remove_prefix(std::min(end + 1, words.size()));
        const std::string hint = languageSeen ? std::string() : NamedLanguage(word);
        if (std::find(kFlagWords.begin(), kFlagWords.end(), word) != kFlagWords.end()) {
            sidecar.forced = sidecar.forced || word == "forced";
        } else if (!hint.empty()) {
            sidecar.language = CanonicalLanguage(hint);
            sidecar.languageHint = hint;
            languageSeen = true;
        } else if (!languageSeen && IsLanguageTag(word)) {
            sidecar.language = CanonicalLanguage(word);
            languageSeen = true;
        } else if (!IsTrackNumber(word)) {
            return false;
        }
    }
    return true;
}

// Whether the name refers to a regular file; one that cannot be looked at is kept, so that reading it
// explains why it is not used.
bool MayBeRegularFile(const std::string& path) {
    struct stat status = {};
    return ::stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode);
}

auto PlayerOrder(const SidecarFile& sidecar) {
    std::string_view path = sidecar.path;
    return std::make_tuple(sidecar.language != "und", sidecar.forced,
                           ExtensionRank(path.substr(path.rfind('.') + 1)), sidecar.path);
}

} // namespace

std::vector<SidecarFile> FindSidecarFiles(const std::string& sourcePath) {
    size_t slash = sourcePath.rfind('/');
    std::string folder = slash == std::string::npos ? "." : sourcePath.substr(0, slash + 1);
    std::string sourceName = slash == std::string::npos ? sourcePath : sourcePath.substr(slash + 1);
    size_t dot = sourceName.rfind('.');
    std::string baseName = dot == std::string::npos || dot == 0 ? sourceName : sourceName.substr(0, dot);

    std::vector<SidecarFile> sidecars;
    std::unique_ptr<DIR, DirectoryCloser> directory(::opendir(folder.c_str()));
    if (!directory)
        return sidecars;
    while (const dirent* entry = ::readdir(directory.get())) {
        std::string_view name = entry->d_name;
        // Case-blind, as on the file systems the files often come from.
        if (name == sourceName || name.size() <= baseName.size() + 1 ||
            Lower(name.substr(0, baseName.size())) != Lower(baseName) || name[baseName.size()] != '.')
            continue;
        SidecarFile sidecar{(slash == std::string::npos ? "" : folder) + std::string(name), "und", false, {}};
        if (ReadNameTail(name.substr(baseName.size() + 1), sidecar) && MayBeRegularFile(sidecar.path))
            sidecars.push_back(sidecar);
    }
    std::sort(sidecars.begin(), sidecars.end(),
              [](const SidecarFile& a, const SidecarFile& b) { return PlayerOrder(a) < PlayerOrder(b); });
    return sidecars;
}

std::string ReadSidecarBytes(const std::string& path) {
    // Non-blocking: a named pipe put there since it was listed must not hold the job.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file)
        throw EncoderError(std::strerror(errno));
    struct stat status = {};
    if (::fstat(file.Get(), &status) != 0)
        throw EncoderError(std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        throw EncoderError(NotARegularFileText(status.st_mode));
    if (status.st_size > kLargestSidecar)
        throw EncoderError("it is larger than 16 MiB");
    std::string bytes(static_cast<size_t>(status.st_size), '\0');
    size_t filled = 0;
    while (filled < bytes.size()) {
        ssize_t count = ::read(file.Get(), bytes.data() + filled, bytes.size() - filled);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            throw EncoderError(std::strerror(errno));
        if (count == 0)
            break;
        filled += static_cast<size_t>(count);
    }
    bytes.resize(filled);
    if (bytes.empty())
        throw EncoderError("it is empty");
    return bytes;
}

SidecarText ReadSidecarText(const std::string& path, const std::vector<LanguageHint>& hints) {
    const std::string bytes = ReadSidecarBytes(path);
    SidecarText text;
    text.characterSet = DetectTextEncoding(bytes, hints);
    if (text.characterSet.empty())
        throw EncoderError("it does not hold text in any known encoding");
    text.utf8 = TextToUtf8(bytes, text.characterSet);
    return text;
}

} // namespace velmora::encoder
