#ifndef OIDSCOPE_LINUX_DOC_INDEX_H
#define OIDSCOPE_LINUX_DOC_INDEX_H

#include <cstddef>
#include <string>
#include <unordered_map>

namespace linuxmib {

// Descriptions of sysctl objects, taken from the kernel's own documentation
// as Debian's linux-doc packages install it: gzipped reStructuredText, with
// names either as headings (admin-guide/sysctl/*.rst) or as "name - TYPE"
// entries under a section naming their /proc/sys directory
// (networking/*sysctl*.rst). The kernel itself keeps no descriptions.
class DocIndex {
public:
    // The Documentation/ directory to read: /usr/share/doc/linux-doc-<version>/Documentation
    // of the running kernel's version (uname release, matched on major.minor) when present,
    // else the newest version present; empty when none. Takes the parent dir for tests.
    static std::string findDocumentationDir(const std::string &docParent = "/usr/share/doc");
    // The same for a given kernel release, as uname -r prints it.
    static std::string findDocumentationDir(const std::string &docParent, const std::string &release);

    // Reads the sysctl documentation files under dir, each once. Missing,
    // malformed or oversized files are skipped or read as far as they make
    // sense; never throws. Replaces what was loaded.
    void load(const std::string &dir);

    // The first paragraph written for that dotted sysctl name, as one line
    // of plain text, or nullptr. Per-interface names (net.ipv4.conf.eth0.x,
    // .all., .default.) find what is written for every interface.
    const std::string *find(const std::string &dottedName) const;

    // Names documented; a per-interface entry counts once.
    std::size_t size() const { return descriptions.size(); }

    // How many files the last load() took text from.
    int filesRead() const { return fileCount; }

    // What load() reads of one file at most, compressed and as text: more
    // than eight times the largest real file, little enough to stay quick.
    static constexpr std::size_t maxFileBytes = 1u << 20;
    // Longer first paragraphs are cut there, at a character boundary.
    static constexpr std::size_t maxDescriptionBytes = 2048;

private:
    const std::string *exact(const std::string &key) const;

    // By dotted name, with "*" for the interface of per-interface entries.
    std::unordered_map<std::string, std::string> descriptions;
    int fileCount = 0;
};

}  // namespace linuxmib

#endif
