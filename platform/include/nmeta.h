/*
 * The MIB information interface the program is written against: the list of
 * MIB objects, single objects by name, handler and identifier queries, and the
 * sysctl call that reads and writes values by numeric identifier.
 *
 * One backend provides all of it, chosen at link time: over /proc/sys on
 * Linux, or in memory for tests and benchmarks.
 */
#ifndef OIDSCOPE_NMETA_H
#define OIDSCOPE_NMETA_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct MibObjectList;

/* One MIB object. Texts are NUL-terminated; optional ones may be NULL. */
struct MibObject {
    struct MibObject *next;          /* next object of the same list, or NULL */
    int *oidLevels;                  /* numeric identifier, oidLength levels */
    uint64_t oidLength;              /* at least 1 */
    char *name;                      /* full dotted name */
    char *description;               /* or NULL */
    char *label;                     /* or NULL */
    uint8_t type;                    /* CTLTYPE number */
    uint32_t flags;                  /* CTLFLAG_ bits */
    char *format;                    /* or NULL */
    struct MibObjectList *children;  /* or NULL */
};

/* A list of objects, chained through their next fields. */
struct MibObjectList {
    struct MibObject *first;
};

/* Every top-level object with its subtree, or NULL (errno set) when the MIB
 * cannot be read. Release with nmeta_freemib. */
struct MibObjectList *nmeta_mib(void);
void nmeta_freemib(struct MibObjectList *list);

/* A fresh object for a full name (children NULL), or NULL (errno set) when
 * no object has that name. Release with nmeta_freeobject. */
struct MibObject *nmeta_objectbyname(const char *name);
void nmeta_freeobject(struct MibObject *object);

/* 0 and *hashandler set on success; non-zero with errno set on failure. */
int nmeta_hashandlerbyname(const char *name, bool *hashandler);

/* Writes at most *count levels of name's identifier to levels and sets *count
 * to the number written. 0 on success; non-zero with errno set on failure. */
int nmeta_oidbyname(const char *name, int *levels, size_t *count);

/* Reads (oldp, *oldlenp) and/or writes (newp, newlen) the value of the object
 * with the given identifier. With oldp NULL and oldlenp set, stores the value's
 * size in *oldlenp. 0 on success; -1 with errno set on failure. */
int sysctl(const int *name, unsigned int namelen, void *oldp, size_t *oldlenp,
           const void *newp, size_t newlen);

#ifdef __cplusplus
}
#endif

#endif
