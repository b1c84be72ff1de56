#ifndef OIDSCOPE_LINUX_OBJECT_TREE_H
#define OIDSCOPE_LINUX_OBJECT_TREE_H

#include "FileDescriptor.h"
#include "KnownObject.h"

#include <string>
#include <vector>

namespace linuxmib {

class RootDirectory;

// Everything known of the tree below the root, and the numbers given to it.
// A directory's entries are numbered from 1 in byte order when it is first
// listed; an entry that appears later takes the next free number, so it
// comes after its older siblings, and a number, once given, always stands
// for the same name. A directory is listed again at most once per walk from
// the beginning, which keeps a walk linear in the size of the tree.
class ObjectTree {
public:
    explicit ObjectTree(RootDirectory &root);

    // Forgets every entry and number (another root is served).
    void clear();

    // A walk from the beginning: each directory is listed afresh once more
    // when the walk reaches it, and what it lists has its type determined
    // again.
    void startWalk() { ++walk; }

    KnownObject &top() { return rootObject; }

    // Lists dir unless it was listed since the latest walk began. 0, or the
    // errno of listing it (its entries then count as absent).
    int listForWalk(KnownObject &dir);

    // The object an identifier stands for: ENOENT when a level names
    // nothing, ENOTDIR when levels go on past a file, or the errno of
    // listing a directory never listed before. An object the latest listing
    // did not show is still found by its number; whether it exists is for
    // the caller to learn when it opens it.
    int resolve(const int *levels, std::size_t count, KnownObject *&object);

    // The object at these file names (what a dotted name stands for), seen
    // on disk now: ENOENT when something on the way does not exist, is no
    // directory or file, or is a file with names after it.
    int lookup(const std::vector<std::string> &fileNames, KnownObject *&object);

    // The known child of dir with that number, or nullptr.
    static KnownObject *child(const KnownObject &dir, int number);
    // The same, listing dir first if it never was; nullptr when it cannot be.
    KnownObject *listedChild(KnownObject &dir, int number);

    // The dotted name of a known object.
    static std::string dottedName(const KnownObject &object);

    // 0 and the directory holding object, reached from the root one
    // component at a time; or the errno of a component.
    int openParent(const KnownObject &object, FileDescriptor &out);

    static std::vector<int> oidOf(const KnownObject &object);

private:
    int list(KnownObject &dir);
    int openDirectoryOf(const KnownObject &dir, FileDescriptor &out);
    static KnownObject *addChild(KnownObject &dir, const std::string &fileName, bool directory);

    RootDirectory &root;
    KnownObject rootObject;
    unsigned walk = 1;
};

}  // namespace linuxmib

#endif
