#include "platform/ProfileFile.h"

#include "platform/AsciiText.h"
#include "platform/BoundedFileRead.h"
#include "platform/Errors.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <optional>

namespace velmora {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// One line of the file: [begin, end) is its text without the line break, next the start of the
// following line.
struct Line {
    size_t begin;
    size_t end;
    size_t next;
};

std::optional<Line> LineAt(const std::string& content, size_t begin) {
    if (begin >= content.size())
        return std::nullopt;
    size_t newline = content.find('\n', begin);
    size_t next = newline == std::string::npos ? content.size() : newline + 1;
    size_t end = newline == std::string::npos ? content.size() : newline;
    if (end > begin && content[end - 1] == '\r')
        --end;
    return Line{begin, end, next};
}

std::string_view TextOf(const std::string& content, const Line& line) {
    return std::string_view(content).substr(line.begin, line.end - line.begin);
}

std::optional<std::string_view> SectionName(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    text.remove_prefix(1);
    return TrimBlanks(text.substr(0, text.find(']')));
}

// Where the section's lines are: the first line after its header, and the end of its last line
// that is not blank (the header's end when it has none).
struct SectionSpan {
    size_t bodyBegin;
    size_t lastContentNext;
};

size_t FirstLineBegin(const std::string& content) {
    return content.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0 ? kUtf8Bom.size() : 0;
}

std::optional<SectionSpan> FindSection(const std::string& content, const std::string& section) {
    for (auto line = LineAt(content, FirstLineBegin(content)); line; line = LineAt(content, line->next)) {
        auto name = SectionName(TextOf(content, *line));
        if (!name || !SameIgnoringAsciiCase(*name, section))
            continue;
        SectionSpan span{line->next, line->next};
        for (auto body = LineAt(content, line->next); body; body = LineAt(content, body->next)) {
            if (SectionName(TextOf(content, *body)))
                break;
            if (!TrimBlanks(TextOf(content, *body)).empty())
                span.lastContentNext = body->next;
        }
        return span;
    }
    return std::nullopt;
}

struct KeyLine {
    Line line;
    size_t valueBegin; // just after the '='
};

std::optional<KeyLine> FindKey(const std::string& content, const SectionSpan& span, const std::string& key) {
    for (auto line = LineAt(content, span.bodyBegin); line; line = LineAt(content, line->next)) {
        std::string_view text = TextOf(content, *line);
        if (SectionName(text))
            break;
        size_t equals = text.find('=');
        if (equals != std::string_view::npos &&
            SameIgnoringAsciiCase(TrimBlanks(text.substr(0, equals)), key))
            return KeyLine{*line, line->begin + equals + 1};
    }
    return std::nullopt;
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

std::string_view Unquote(std::string_view text) {
    if (text.size() >= 2 && IsQuote(text.front()) && text.back() == text.front())
        return text.substr(1, text.size() - 2);
    return text;
}

// Quotes a value that reading would otherwise change, so that it reads back as written.
std::string EncodeValue(const std::string& value) {
    if (value.empty())
        return value;
    bool needsQuotes = IsBlank(value.front()) || IsBlank(value.back()) ||
                       (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front());
    return needsQuotes ? '"' + value + '"' : value;
}

std::string LineBreakOf(const std::string& content) {
    size_t newline = content.find('\n');
    return newline != std::string::npos && newline > 0 && content[newline - 1] == '\r' ? "\r\n" : "\n";
}

mode_t ProcessUmask() {
    std::ifstream status("/proc/self/status");
    std::string field;
    while (status >> field) {
        if (field == "Umask:") {
            std::string octal;
            status >> octal;
            return static_cast<mode_t>(std::strtol(octal.c_str(), nullptr, 8));
        }
    }
    return 022;
}

bool WriteAll(int fd, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        ssize_t count = write(fd, content.data() + done, content.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += static_cast<size_t>(count);
    }
    return true;
}

// Writes the content to a temporary file beside the target and renames it over the target.
bool ReplaceFileAtomically(const std::string& target, const std::string& content) {
    mode_t mode = 0666 & ~ProcessUmask();
    struct stat info = {};
    if (stat(target.c_str(), &info) == 0) {
        // Renaming would succeed over a read-only file; refuse as a write in place would.
        int probe = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (probe < 0)
            return false;
        close(probe);
        mode = info.st_mode & 07777;
    }
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temporary = folder + "." + name + ".XXXXXX";
    int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool written = WriteAll(fd, content) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (!written || rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

// A symbolic link stays a link: the file it points to is the one replaced, also when that file does
// not exist yet.
std::string ResolveLink(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info = {};
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(current.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<size_t>(length) >= target.size())
            return current;
        target.resize(static_cast<size_t>(length));
        if (target.front() != '/') {
            const size_t slash = current.rfind('/');
            target = (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) + target;
        }
        current = target;
    }
    return current;
}

// The key's value as reading gives it; nothing when the section or the key is missing.
std::optional<std::string_view> StoredValue(const std::string& content, const std::string& section,
                                            const std::string& key) {
    auto span = FindSection(content, section);
    if (!span)
        return std::nullopt;
    auto found = FindKey(content, *span, key);
    if (!found)
        return std::nullopt;
    return Unquote(
        TrimBlanks(std::string_view(content).substr(found->valueBegin, found->line.end - found->valueBegin)));
}

// The content with the key set to the value: its line changed in place, or the key added at the end
// of its section, and the section at the end of the file when missing.
std::string WithValue(std::string content, const std::string& section, const std::string& key,
                      const std::string& value) {
    const std::string lineBreak = LineBreakOf(content);
    const std::string entry = key + "=" + EncodeValue(value);
    if (auto span = FindSection(content, section)) {
        if (auto found = FindKey(content, *span, key)) {
            content.replace(found->valueBegin, found->line.end - found->valueBegin, EncodeValue(value));
        } else {
            size_t at = span->lastContentNext;
            bool needsBreak = at > 0 && content[at - 1] != '\n';
            content.insert(at, (needsBreak ? lineBreak : "") + entry + lineBreak);
        }
    } else {
        if (!content.empty() && content.back() != '\n')
            content += lineBreak;
        content += "[" + section + "]" + lineBreak + entry + lineBreak;
    }
    return content;
}

} // namespace

ProfileFile::ProfileFile(std::string path, std::chrono::milliseconds lockWait)
    : path_(std::move(path)), lockWait_(lockWait) {}

ProfileContent ProfileContent::Load(const std::string& path, BoundedRead* outcome) {
    std::string text;
    const BoundedRead read = ReadBoundedRegularFile(path, kProfileFileLimit, text);
    if (outcome != nullptr)
        *outcome = read;
    return ProfileContent(std::move(text));
}

std::string ProfileContent::ReadString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue) const {
    const std::optional<std::string_view> value = StoredValue(text_, section, key);
    // A value is never cut: a shorter one would be another folder.
    return value && value->size() <= ProfileFile::kMaxValueLength ? std::string(*value) : defaultValue;
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
    return ProfileContent::Load(path_).ReadString(section, key, defaultValue);
}

int32_t ProfileFile::ReadInteger(const std::string& section, const std::string& key,
                                 int32_t defaultValue) const {
    return ProfileTextToInteger(ReadString(section, key, ""), defaultValue);
}

void ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) const {
    if (path_.empty())
        return;
    if (value.find_first_of("\r\n") != std::string::npos)
        throw EIniFileException("Unable to write to " + path_ + ": a value cannot hold a line break");
    if (value.size() > kMaxValueLength)
        throw EIniFileException("Unable to write to " + path_ + ": a value cannot be longer than " +
                                std::to_string(kMaxValueLength) + " bytes");
    const std::string target = ResolveLink(path_);
    // Before the lock, which would otherwise be made beside a device such as /dev/zero.
    struct stat existing = {};
    if (stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
        throw EIniFileException("Unable to write to " + path_);
    // A value the file already holds (in any spelling: quoted, with blanks) is no change: nothing is
    // locked or written, so a folder that cannot be written is no error then.
    if (std::string current; ReadBoundedRegularFile(target, kProfileFileLimit, current).Succeeded() &&
                             StoredValue(current, section, key) == value)
        return;
    // Beside the file, not on it: the replacement is a new file, which a lock on the old one would miss.
    const std::optional<FileLock> lock = FileLock::Acquire(target + ".lock", lockWait_);
    if (!lock)
        throw EIniFileException("Unable to write to " + path_);
    std::string content;
    // A missing file is written anew; one that cannot be read whole is not overwritten.
    const BoundedRead read = ReadBoundedRegularFile(target, kProfileFileLimit, content);
    if (!read.Succeeded() && !read.Missing())
        throw EIniFileException("Unable to write to " + path_);

    if (!ReplaceFileAtomically(target, WithValue(std::move(content), section, key, value)))
        throw EIniFileException("Unable to write to " + path_);
}

void ProfileFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) const {
    WriteString(section, key, std::to_string(value));
}

int32_t ProfileTextToInteger(const std::string& text, int32_t defaultValue) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    std::string_view digits = std::string_view(text).substr(hex ? 2 : 0);
    const bool negative = !hex && !digits.empty() && digits.front() == '-';
    if (!hex && !digits.empty() && (digits.front() == '-' || digits.front() == '+'))
        digits.remove_prefix(1);
    if (digits.empty())
        return defaultValue;
    const int base = hex ? 16 : 10;
    long long value = 0;
    for (char c : digits) {
        int digit = std::isdigit(static_cast<unsigned char>(c))           ? c - '0'
                    : hex && std::isxdigit(static_cast<unsigned char>(c)) ? AsciiLower(c) - 'a' + 10
                                                                          : -1;
        if (digit < 0)
            return defaultValue;
        value = value * base + digit;
        if (value > 0xFFFFFFFFLL)
            return defaultValue;
    }
    // Eight hexadecimal digits carry the sign bit, as in 0xFFFFFFFF for -1.
    if (hex)
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    if (negative)
        value = -value;
    return value >= INT32_MIN && value <= INT32_MAX ? static_cast<int32_t>(value) : defaultValue;
}

} // namespace velmora
