#include "DocIndex.h"

#include <gio/gio.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace linuxmib {

namespace {

using Descriptions = std::unordered_map<std::string, std::string>;

// ---------------------------------------------------------------------------
// Reading one file

struct Unref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

// Up to DocIndex::maxFileBytes of a regular file. Opened without blocking,
// so a FIFO in the file's place cannot hang the load.
std::string readRaw(const std::string &path)
{
    std::string data;
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return data;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        data.reserve(std::min<std::size_t>(st.st_size, DocIndex::maxFileBytes));
        while (data.size() < DocIndex::maxFileBytes) {
            std::size_t have = data.size();
            std::size_t chunk = std::min<std::size_t>(1u << 16, DocIndex::maxFileBytes - have);
            data.resize(have + chunk);
            ssize_t n = ::read(fd, &data[have], chunk);
            data.resize(have + (n > 0 ? n : 0));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
        }
    }
    close(fd);
    return data;
}

// Reads a stream to its end, its first error or the size limit, keeping what
// came before: a truncated or damaged gzip file gives what it held.
std::string readStream(GInputStream *stream, std::size_t expected)
{
    std::string text;
    text.reserve(std::min(expected, DocIndex::maxFileBytes));
    while (text.size() < DocIndex::maxFileBytes) {
        std::size_t have = text.size();
        std::size_t chunk = std::min<std::size_t>(1u << 16, DocIndex::maxFileBytes - have);
        text.resize(have + chunk);
        GError *error = nullptr;
        gssize n = g_input_stream_read(stream, &text[have], chunk, nullptr, &error);
        text.resize(have + (n > 0 ? n : 0));
        if (error)
            g_error_free(error);
        if (n <= 0)
            break;
    }
    return text;
}

bool isGzip(const std::string &data)
{
    return data.size() >= 2 && static_cast<unsigned char>(data[0]) == 0x1f &&
           static_cast<unsigned char>(data[1]) == 0x8b;
}

std::string gunzip(const std::string &compressed)
{
    std::unique_ptr<GInputStream, Unref> source(
        g_memory_input_stream_new_from_data(compressed.data(), compressed.size(), nullptr));
    std::unique_ptr<GZlibDecompressor, Unref> decompressor(
        g_zlib_decompressor_new(G_ZLIB_COMPRESSOR_FORMAT_GZIP));
    std::unique_ptr<GInputStream, Unref> stream(
        g_converter_input_stream_new(source.get(), G_CONVERTER(decompressor.get())));
    // The real files compress to about a third.
    return readStream(stream.get(), compressed.size() * 4);
}

// Valid UTF-8 without control characters other than newline and tab: invalid
// sequences become U+FFFD, carriage returns and the like become blanks.
std::string mend(std::string text)
{
    std::replace(text.begin(), text.end(), '\0', ' ');
    if (!g_utf8_validate(text.data(), text.size(), nullptr)) {
        gchar *valid = g_utf8_make_valid(text.data(), text.size());
        text = valid;
        g_free(valid);
    }
    for (char &c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\n' && c != '\t') || u == 0x7f)
            c = ' ';
    }
    return text;
}

// ---------------------------------------------------------------------------
// Text helpers

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view s, std::string_view suffix)
{
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::vector<std::string_view> split(std::string_view s, char sep)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == sep) {
            parts.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

// A name as the documentation writes it: letters, digits, '_' and '-', with
// '/' between the components of a relative path and <...> around the
// placeholder of an interface. Not a number alone.
bool isDocName(std::string_view s)
{
    if (s.empty() || s.front() == '/' || s.back() == '/')
        return false;
    bool letter = false;
    for (char c : s) {
        if (isAlnum(c) && !isDigit(c))
            letter = true;
        else if (c == '_')
            letter = true;
        else if (!isDigit(c) && c != '-' && c != '/' && c != '<' && c != '>')
            return false;
    }
    return letter;
}

// Cuts s to at most limit bytes without splitting a character.
void cutAt(std::string &s, std::size_t limit)
{
    if (s.size() <= limit)
        return;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xc0) == 0x80)
        --end;
    s.resize(end);
    s += "\u2026";
}

// Where the closing marker of inline markup opened at from is: reST wants it
// after a non-blank and before the end, a blank or punctuation.
std::size_t closing(const std::string &s, std::size_t from, std::string_view marker)
{
    for (std::size_t at = s.find(marker, from); at != std::string::npos; at = s.find(marker, at + 1)) {
        std::size_t after = at + marker.size();
        if (at > from && !isSpace(s[at - 1]) && (after >= s.size() || !isAlnum(s[after])))
            return at;
    }
    return std::string::npos;
}

// One line of plain text from a paragraph of reStructuredText: inline markup
// reduced to its text, whitespace collapsed, a closing "::" read as ":".
std::string plainText(std::string_view paragraph)
{
    std::string s;
    s.reserve(paragraph.size());
    for (char c : paragraph) {
        if (isSpace(c)) {
            if (!s.empty() && s.back() != ' ')
                s += ' ';
        } else {
            s += c;
        }
    }
    if (!s.empty() && s.back() == ' ')
        s.pop_back();

    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        if (c != '`' && c != ':' && c != '*' && c != '[' && c != '\\') {
            out += c;
            ++i;
            continue;
        }
        bool wordStart = out.empty() || isSpace(out.back()) || std::strchr("([{\"'/-", out.back());
        if (c == '`' && i + 1 < s.size() && s[i + 1] == '`') {
            std::size_t end = closing(s, i + 2, "``");
            if (end != std::string::npos) {
                out.append(s, i + 2, end - i - 2);
                i = end + 2;
                continue;
            }
        }
        if (c == ':' && wordStart) {
            // A role such as :ref: or :doc: before interpreted text.
            std::size_t j = i + 1;
            while (j < s.size() && (isAlnum(s[j]) || s[j] == '-' || s[j] == '_' || s[j] == '+'))
                ++j;
            if (j > i + 1 && j + 1 < s.size() && s[j] == ':' && s[j + 1] == '`') {
                i = j + 1;
                c = '`';
            }
        }
        if (c == '`') {
            std::size_t end = s.find('`', i + 1);
            if (end != std::string::npos && end > i + 1) {
                std::string_view inner(s.data() + i + 1, end - i - 1);
                // `text <target>`_ shows the text, `<target>`_ the target.
                std::size_t lt = inner.rfind(" <");
                if (endsWith(inner, ">") && lt != std::string_view::npos)
                    inner = inner.substr(0, lt);
                else if (startsWith(inner, "<") && endsWith(inner, ">"))
                    inner = inner.substr(1, inner.size() - 2);
                out += inner;
                i = end + 1;
                while (i < s.size() && s[i] == '_')
                    ++i;
                continue;
            }
        }
        if (c == '*' && wordStart) {
            std::string_view marker = startsWith(std::string_view(s).substr(i), "**") ? "**" : "*";
            std::size_t start = i + marker.size();
            if (start < s.size() && !isSpace(s[start]) && s[start] != '*') {
                std::size_t end = closing(s, start, marker);
                if (end != std::string::npos) {
                    out.append(s, start, end - start);
                    i = end + marker.size();
                    continue;
                }
            }
        }
        if (c == '[' && wordStart) {
            // A footnote reference: [1]_, [#]_, [#note]_.
            std::size_t end = s.find("]_", i);
            if (end != std::string::npos && end - i <= 16 && s.find(' ', i) > end) {
                i = end + 2;
                if (!out.empty() && out.back() == ' ' && (i >= s.size() || s[i] == ' '))
                    out.pop_back();
                continue;
            }
        }
        if (c == '\\' && i + 1 < s.size()) {
            if (s[i + 1] != ' ')
                out += s[i + 1];
            i += 2;
            continue;
        }
        out += c;
        ++i;
    }
    if (endsWith(out, " ::"))
        out.resize(out.size() - 3);
    else if (endsWith(out, "::"))
        out.pop_back();
    out = std::string(trim(out));
    cutAt(out, DocIndex::maxDescriptionBytes);
    return out;
}

// ---------------------------------------------------------------------------
// Paths and keys

// The dotted key of a /proc/sys path, relative to /proc/sys: components
// joined with '.', a '.' inside a component written '/', the interface of a
// per-interface path written "*".
std::string keyOf(std::string_view path)
{
    std::vector<std::string> parts;
    for (std::string_view part : split(path, '/'))
        if (!part.empty())
            parts.emplace_back(part);
    // The interface options of ioam6 and seg6 live under net/ipv6/conf; their
    // documentation heads them /proc/sys/net/conf.
    if (parts.size() >= 2 && parts[0] == "net" && parts[1] == "conf")
        parts.insert(parts.begin() + 1, "ipv6");
    std::string key;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string part = parts[i];
        static const char *const placeholders[] = {"interface", "<interface>", "iface", "<iface>",
                                                   "<dev>", "<device>", "DEV", "*"};
        if (i > 0 && (parts[i - 1] == "conf" || parts[i - 1] == "neigh") &&
            std::find(std::begin(placeholders), std::end(placeholders), part) != std::end(placeholders))
            part = "*";
        std::replace(part.begin(), part.end(), '.', '/');
        if (!key.empty())
            key += '.';
        key += part;
    }
    return key;
}

// The directory a "/proc/sys/..." in a title names, relative to /proc/sys,
// up to the component with a wildcard ("/proc/sys/net/netfilter/nf_conntrack_*
// Variables" is net/netfilter); empty when there is none.
std::string procDir(std::string_view title)
{
    std::size_t at = title.find("proc/sys/");
    if (at == std::string_view::npos)
        return {};
    std::string_view rest = title.substr(at + 9);
    std::size_t end = 0;
    while (end < rest.size() && !isSpace(rest[end]) && rest[end] != '`' && rest[end] != ':' && rest[end] != ',')
        ++end;
    std::string dir;
    for (std::string_view part : split(rest.substr(0, end), '/')) {
        if (part.find('*') != std::string_view::npos)
            break;
        if (part.empty())
            continue;
        if (!dir.empty())
            dir += '/';
        dir += part;
    }
    return dir;
}

std::string joinPath(const std::string &dir, std::string_view name)
{
    return dir.empty() ? std::string(name) : dir + "/" + std::string(name);
}

// The names of a heading such as "msgmax, msgmnb, and msgmni",
// "domainname & hostname" or "bootloader_type (x86 only)"; empty when it is
// not a list of names.
std::vector<std::string> headingNames(std::string_view title)
{
    std::string text;
    int depth = 0;
    for (char c : title) {
        if (c == '(')
            ++depth;
        else if (c == ')')
            depth = std::max(0, depth - 1);
        else if (depth == 0)
            text += c == '&' ? ',' : c;
    }
    std::vector<std::string> names;
    for (std::string_view piece : split(text, ',')) {
        piece = trim(piece);
        for (std::string_view word : {std::string_view("and "), std::string_view("or ")})
            if (startsWith(piece, word))
                piece = trim(piece.substr(word.size()));
        for (std::string_view joiner : {std::string_view(" and "), std::string_view(" or ")}) {
            std::size_t at = piece.find(joiner);
            if (at != std::string_view::npos) {
                names.emplace_back(trim(piece.substr(0, at)));
                piece = trim(piece.substr(at + joiner.size()));
            }
        }
        names.emplace_back(piece);
    }
    for (const std::string &name : names)
        if (!isDocName(name))
            return {};
    return names;
}

// "name - TYPE" or "a, b - TYPE": the names, or empty when the line is not
// such an entry.
std::vector<std::string> entryNames(std::string_view line)
{
    std::size_t dash = line.find(" - ");
    if (dash == std::string_view::npos || trim(line.substr(dash + 3)).empty())
        return {};
    std::vector<std::string> names;
    for (std::string_view piece : split(line.substr(0, dash), ',')) {
        piece = trim(piece);
        if (!isDocName(piece))
            return {};
        names.emplace_back(piece);
    }
    return names;
}

bool isAdornment(std::string_view s)
{
    if (s.size() < 3 || !std::strchr("=-~^*+#", s[0]))
        return false;
    return std::all_of(s.begin(), s.end(), [&](char c) { return c == s[0]; });
}

bool isListItem(std::string_view s)
{
    for (std::string_view bullet : {"- ", "* ", "+ ", "\u2022 ", "#. "})
        if (startsWith(s, bullet))
            return true;
    std::size_t digits = 0;
    std::size_t start = !s.empty() && s[0] == '(' ? 1 : 0;
    while (start + digits < s.size() && isDigit(s[start + digits]))
        ++digits;
    std::string_view after = s.substr(start + digits);
    return digits > 0 && (startsWith(after, ". ") || startsWith(after, ") ") || startsWith(after, " - "));
}

// "Default: 0", "default 10": a value, no description.
bool isDefaultLine(std::string_view s)
{
    if (s.size() < 8)
        return false;
    std::string head(s.substr(0, 8));
    std::transform(head.begin(), head.end(), head.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
    return head == "default:" || (head == "default " && s.size() > 8 && isDigit(s[8]));
}

bool isTableBorder(std::string_view s)
{
    return (startsWith(s, "==") || startsWith(s, "+-") || startsWith(s, "+=")) &&
           s.find_first_not_of("=+-| ") == std::string_view::npos;
}

// ---------------------------------------------------------------------------
// Parsing one file

struct Line {
    std::string_view text;  // without the indentation and trailing blanks
    int indent = 0;         // columns, tabs to the next multiple of 8
};

std::vector<Line> splitLines(const std::string &text)
{
    std::vector<Line> lines;
    lines.reserve(std::count(text.begin(), text.end(), '\n') + 1);
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view raw(text.data() + start, end - start);
        start = end + 1;
        Line line;
        std::size_t i = 0;
        while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t')) {
            line.indent = raw[i] == '\t' ? (line.indent / 8 + 1) * 8 : line.indent + 1;
            ++i;
        }
        line.text = trim(raw.substr(i));
        lines.push_back(line);
    }
    return lines;
}

// Walks a file's blocks, keeping the /proc/sys directory the text is in and
// the names waiting for their first paragraph.
class DocParser {
public:
    explicit DocParser(Descriptions &out) : out(out) {}
    void parse(const std::string &text);

private:
    void heading(std::string_view title);
    void entry(const std::vector<std::string> &names);
    void marker(std::string_view path);
    void paragraph();
    void finish();
    bool assign(const std::vector<std::string> &keys, std::string_view text);
    void bulletItems();
    std::string joined() const;
    std::string listText() const;
    std::vector<std::string> keysFor(const std::vector<std::string> &names) const;

    Descriptions &out;
    std::string rootDir;                   // the file's own directory, its first one
    std::string baseDir;                   // the last directory a heading named
    std::vector<std::string> sectionDirs;  // where the names that follow are
    bool afterMarker = false;              // "``conf/all/*``" just named a section
    std::vector<std::string> pending;      // keys waiting for their paragraph
    bool inEntry = false;                  // pending came from a "name - TYPE" line
    std::string fallback;                  // a list or default, used when no prose follows
    std::string sectionKey;                // a heading's single name, for "``x``:" items
    int skipDeeper = -1;                   // a literal block or directive's indentation
    std::vector<Line> para;
};

void DocParser::parse(const std::string &text)
{
    std::vector<Line> lines = splitLines(text);
    std::size_t n = lines.size();
    for (std::size_t i = 0; i < n;) {
        const Line &line = lines[i];
        if (line.text.empty()) {
            paragraph();
            ++i;
            continue;
        }
        // Text that starts left of its paragraph's first line starts a new block.
        if (!para.empty() && line.indent < para.front().indent)
            paragraph();
        if (para.empty() && line.indent == 0) {
            auto adornment = [&](std::size_t k) { return k < n && lines[k].indent == 0 && isAdornment(lines[k].text); };
            if (adornment(i) && i + 2 < n && !lines[i + 1].text.empty() && adornment(i + 2) &&
                lines[i + 2].text[0] == line.text[0]) {
                heading(lines[i + 1].text);
                i += 3;
                continue;
            }
            if (!adornment(i) && adornment(i + 1)) {
                heading(line.text);
                i += 2;
                continue;
            }
            if (adornment(i)) {  // a transition
                ++i;
                continue;
            }
            // An entry's text is indented under it, at times after a blank line.
            std::size_t next = i + 1;
            if (next < n && lines[next].text.empty())
                ++next;
            bool bodyFollows = next < n && !lines[next].text.empty() && lines[next].indent > 0;
            if (bodyFollows) {
                std::vector<std::string> names = entryNames(line.text);
                if (!names.empty()) {
                    entry(names);
                    ++i;
                    continue;
                }
                std::string_view t = line.text;
                if (endsWith(t, ":"))
                    t.remove_suffix(1);
                if (startsWith(t, "``") && endsWith(t, "/*``") && t.size() > 6) {
                    marker(t.substr(2, t.size() - 6));
                    ++i;
                    continue;
                }
            }
        }
        para.push_back(line);
        ++i;
    }
    paragraph();
    finish();
}

void DocParser::heading(std::string_view title)
{
    finish();
    skipDeeper = -1;
    afterMarker = false;
    sectionKey.clear();

    std::string t;
    for (char c : title)
        if (c != '`')
            t += c;
    std::string_view s = trim(t);
    if (endsWith(s, ":"))
        s = trim(s.substr(0, s.size() - 1));

    // "4. /proc/sys/fs/epoll - Configuration options ...", "4. Appletalk"
    bool numbered = false;
    std::size_t digits = 0;
    while (digits < s.size() && isDigit(s[digits]))
        ++digits;
    if (digits > 0 && startsWith(s.substr(digits), ". ")) {
        numbered = true;
        s = trim(s.substr(digits + 2));
    }
    std::string dir = procDir(s);
    if (dir.empty() && numbered && !rootDir.empty()) {
        std::string word(s.substr(0, s.find(' ')));
        if (isDocName(word)) {
            std::transform(word.begin(), word.end(), word.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
            dir = rootDir + "/" + word;
        }
    }
    if (!dir.empty()) {
        baseDir = dir;
        sectionDirs = {dir};
        if (rootDir.empty()) {
            rootDir = dir;
        } else if (numbered && dir != rootDir) {
            // A subdirectory's section: its paragraph, else its title, says what it holds.
            pending = {keyOf(dir)};
            inEntry = false;
            std::size_t dash = s.find(" - ");
            if (dash != std::string_view::npos)
                fallback = std::string(trim(s.substr(dash + 3)));
        }
        return;
    }
    if (endsWith(s, "/*") && s.find(' ') == std::string_view::npos && !baseDir.empty()) {
        // "icmp/*": a subdirectory of the last one named.
        sectionDirs = {joinPath(baseDir, s.substr(0, s.size() - 2))};
        return;
    }
    std::vector<std::string> names = headingNames(s);
    if (names.empty()) {
        // "TCP variables" and the like: back to the directory itself.
        sectionDirs.clear();
        if (!baseDir.empty())
            sectionDirs.push_back(baseDir);
        return;
    }
    pending = keysFor(names);
    inEntry = false;
    if (pending.size() == 1)
        sectionKey = pending.front();
}

void DocParser::entry(const std::vector<std::string> &names)
{
    finish();
    skipDeeper = -1;
    afterMarker = false;
    sectionKey.clear();
    pending = keysFor(names);
    inEntry = true;
}

// "``conf/interface/*``" and the like: the entries that follow are in that
// subdirectory. Markers in a row name one section together.
void DocParser::marker(std::string_view path)
{
    finish();
    skipDeeper = -1;
    std::string dir = path.find("proc/sys/") != std::string_view::npos ? procDir(path)
                      : baseDir.empty()                                 ? std::string()
                                                                        : joinPath(baseDir, path);
    if (!afterMarker)
        sectionDirs.clear();
    // Entries for every interface cover all/ and default/ too.
    std::string key = keyOf(dir);
    std::string parent = key.substr(0, key.rfind('.') + 1);
    bool covered = std::any_of(sectionDirs.begin(), sectionDirs.end(),
                               [&](const std::string &d) { return keyOf(d) == parent + "*"; });
    if (endsWith(key, ".*"))
        sectionDirs.erase(std::remove_if(sectionDirs.begin(), sectionDirs.end(),
                                         [&](const std::string &d) { return startsWith(keyOf(d), parent); }),
                          sectionDirs.end());
    if (!dir.empty() && !covered)
        sectionDirs.push_back(dir);
    afterMarker = true;
    inEntry = true;  // its own text is indented like an entry's
    sectionKey.clear();
}

std::vector<std::string> DocParser::keysFor(const std::vector<std::string> &names) const
{
    std::vector<std::string> keys;
    for (const std::string &name : names) {
        if (name.find('/') != std::string::npos) {
            // "neigh/default/gc_thresh1": a path from the section's directory.
            if (!baseDir.empty())
                keys.push_back(keyOf(joinPath(baseDir, name)));
        } else {
            for (const std::string &dir : sectionDirs)
                keys.push_back(keyOf(joinPath(dir, name)));
        }
    }
    return keys;
}

// The paragraph's lines as one string, no longer than a description can use,
// so that no text makes the markup scan slow.
std::string DocParser::joined() const
{
    std::string text;
    for (const Line &line : para) {
        if (text.size() > 2 * DocIndex::maxDescriptionBytes)
            break;
        if (!text.empty())
            text += ' ';
        text += line.text;
    }
    return text;
}

// A list's items without their bullets, one after the other.
std::string DocParser::listText() const
{
    std::string text;
    for (const Line &line : para) {
        if (text.size() > 2 * DocIndex::maxDescriptionBytes)
            break;
        std::string_view t = line.text;
        bool item = line.indent == para.front().indent && isListItem(t);
        if (item && (startsWith(t, "- ") || startsWith(t, "* ") || startsWith(t, "+ ")))
            t.remove_prefix(2);
        if (!text.empty())
            text += item && !std::strchr(".;,:", text.back()) ? "; " : " ";
        text += t;
    }
    return text;
}

void DocParser::paragraph()
{
    if (para.empty())
        return;
    int indent = para.front().indent;
    std::string_view first = para.front().text;
    if (inEntry && indent == 0)
        finish();  // an entry's text is indented; this is past it
    if (skipDeeper >= 0 && indent > skipDeeper) {
        para.clear();
        return;
    }
    skipDeeper = -1;
    if (startsWith(first, "..") || first == "::") {
        // A comment or directive, or a literal block's marker: what is
        // indented under it is no prose.
        skipDeeper = indent;
        para.clear();
        return;
    }
    if (isTableBorder(first)) {
        para.clear();
        return;
    }
    std::string text = joined();
    if (endsWith(text, "::"))
        skipDeeper = indent;

    // "/proc/sys/fs/mqueue/msg_max is a read/write file for ...".
    if (startsWith(text, "/proc/sys/") || startsWith(text, "``/proc/sys/")) {
        std::string plain = plainText(text);
        std::size_t space = plain.find(' ');
        std::string_view path = std::string_view(plain).substr(0, space);
        if (space != std::string::npos && startsWith(std::string_view(plain).substr(space + 1), "is ") &&
            path.find('*') == std::string_view::npos && !endsWith(path, "/"))
            assign({keyOf(path.substr(10))}, text);
    }

    if (isListItem(first)) {
        bulletItems();
        if (!pending.empty() && fallback.empty())
            fallback = listText();
    } else if (isDefaultLine(first)) {
        if (!pending.empty() && fallback.empty())
            fallback = text;
    } else if (!pending.empty() && assign(pending, text)) {
        pending.clear();
        fallback.clear();
    }
    para.clear();
}

// "* ``boot_id``: a UUID generated ..." under a heading that names a
// directory: each item describes that directory's entry.
void DocParser::bulletItems()
{
    if (sectionKey.empty() || inEntry)
        return;
    std::string name, text;
    auto flush = [&] {
        // Items of such lists end with the punctuation that joins them.
        while (!text.empty() && (text.back() == ';' || text.back() == ',' || isSpace(text.back())))
            text.pop_back();
        if (!name.empty())
            assign({sectionKey + "." + name}, text);
        name.clear();
        text.clear();
    };
    for (const Line &line : para) {
        std::string_view t = line.text;
        if ((startsWith(t, "* ") || startsWith(t, "- ")) && startsWith(t.substr(2), "``")) {
            std::size_t end = t.find("``:", 4);
            if (end != std::string_view::npos && isDocName(t.substr(4, end - 4)) &&
                t.substr(4, end - 4).find('/') == std::string_view::npos) {
                flush();
                name = std::string(t.substr(4, end - 4));
                text = std::string(t.substr(end + 3));
                continue;
            }
        }
        if (!name.empty() && text.size() < 2 * DocIndex::maxDescriptionBytes) {
            text += ' ';
            text += t;
        }
    }
    flush();
}

void DocParser::finish()
{
    if (!pending.empty() && !fallback.empty())
        assign(pending, fallback);
    pending.clear();
    fallback.clear();
    inEntry = false;
}

bool DocParser::assign(const std::vector<std::string> &keys, std::string_view text)
{
    std::string description = plainText(text);
    if (description.empty())
        return false;
    for (const std::string &key : keys)
        out.emplace(key, description);
    return true;
}

// The version in "linux-doc-6.12" as numbers; empty when it has none.
std::vector<int> versionOf(std::string_view text)
{
    std::vector<int> version;
    std::size_t i = 0;
    while (i < text.size() && isDigit(text[i])) {
        int number = 0;
        while (i < text.size() && isDigit(text[i]) && number < 100000)
            number = number * 10 + (text[i++] - '0');
        version.push_back(number);
        if (i + 1 < text.size() && text[i] == '.' && isDigit(text[i + 1]))
            ++i;
        else
            break;
    }
    return version;
}

}  // namespace

std::string DocIndex::findDocumentationDir(const std::string &docParent)
{
    struct utsname names;
    return findDocumentationDir(docParent, uname(&names) == 0 ? names.release : "");
}

std::string DocIndex::findDocumentationDir(const std::string &docParent, const std::string &release)
{
    namespace fs = std::filesystem;
    std::vector<int> running = versionOf(release);
    bool matched = false;
    std::vector<int> bestVersion;
    std::string best;
    std::error_code ec;
    for (fs::directory_iterator it(docParent, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        const std::string prefix = "linux-doc-";
        if (!startsWith(name, prefix))
            continue;
        std::vector<int> version = versionOf(std::string_view(name).substr(prefix.size()));
        std::error_code dirError;
        if (version.size() < 2 || !fs::is_directory(it->path() / "Documentation", dirError))
            continue;
        bool matches = running.size() >= 2 && version[0] == running[0] && version[1] == running[1];
        if (matched && !matches)
            continue;
        if ((matches && !matched) || best.empty() || version > bestVersion ||
            (version == bestVersion && name > best)) {
            matched = matched || matches;
            bestVersion = version;
            best = name;
        }
    }
    return best.empty() ? std::string() : docParent + "/" + best + "/Documentation";
}

void DocIndex::load(const std::string &dir)
{
    descriptions.clear();
    fileCount = 0;
    try {
        // Where each file's names live is in its headings; the order only
        // decides which text wins when two files describe one name.
        std::vector<std::string> files;
        for (const char *name : {"kernel", "vm", "fs", "net", "abi", "user", "sunrpc"})
            files.push_back(dir + "/admin-guide/sysctl/" + name + ".rst");
        files.push_back(dir + "/networking/ip-sysctl.rst");
        std::vector<std::string> others;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(dir + "/networking", ec), end; !ec && it != end;
             it.increment(ec)) {
            std::string name = it->path().filename().string();
            if (endsWith(name, ".gz"))
                name.resize(name.size() - 3);
            if (name.find("sysctl") != std::string::npos && endsWith(name, ".rst") && name != "ip-sysctl.rst")
                others.push_back(dir + "/networking/" + name);
        }
        std::sort(others.begin(), others.end());
        others.erase(std::unique(others.begin(), others.end()), others.end());
        files.insert(files.end(), others.begin(), others.end());

        for (const std::string &file : files) {
            // The packages install them gzipped; a plain copy serves when
            // there is no gzipped one.
            std::string raw = readRaw(file + ".gz");
            std::string text;
            if (!raw.empty()) {
                if (!isGzip(raw))
                    continue;
                text = gunzip(raw);
            } else {
                text = readRaw(file);
            }
            if (text.empty())
                continue;
            DocParser(descriptions).parse(mend(std::move(text)));
            ++fileCount;
        }
    } catch (...) {
        // Out of memory at worst: what was read so far stays usable.
    }
}

const std::string *DocIndex::exact(const std::string &key) const
{
    auto it = descriptions.find(key);
    return it == descriptions.end() ? nullptr : &it->second;
}

const std::string *DocIndex::find(const std::string &dottedName) const
{
    if (const std::string *found = exact(dottedName))
        return found;
    std::vector<std::string_view> parts = split(dottedName, '.');
    auto join = [&](std::size_t from, std::size_t to) {
        std::string text;
        for (std::size_t i = from; i < to; ++i) {
            if (i > from)
                text += '.';
            text += parts[i];
        }
        return text;
    };
    std::size_t n = parts.size();
    for (std::size_t i = 1; i + 1 < n; ++i) {
        // net.ipv4.conf.eth0.forwarding: written once for every interface,
        // or for default/, whose values new interfaces take; some interface
        // options are written among the protocol's own.
        if (parts[i - 1] != "conf" && parts[i - 1] != "neigh")
            continue;
        std::string prefix = join(0, i), leaf = join(i + 1, n);
        if (const std::string *found = exact(prefix + ".*." + leaf))
            return found;
        if (const std::string *found = exact(prefix + ".default." + leaf))
            return found;
        return parts[i - 1] == "conf" && i >= 2 ? exact(join(0, i - 1) + "." + leaf) : nullptr;
    }
    if (n < 3)
        return nullptr;
    std::string leaf(parts[n - 1]);
    // net.ipv4.route.min_pmtu is written among net.ipv4's own,
    if (parts[n - 2] == "route")
        return exact(join(0, n - 2) + "." + leaf);
    // and some of a protocol's own among its interface options.
    std::string prefix = join(0, n - 1);
    if (const std::string *found = exact(prefix + ".conf.*." + leaf))
        return found;
    return exact(prefix + ".conf.all." + leaf);
}

}  // namespace linuxmib
