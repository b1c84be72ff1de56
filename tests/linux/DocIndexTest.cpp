// Descriptions from the kernel's documentation, over small documentation
// trees written here in the layout Debian's linux-doc packages install.
#include "DocIndex.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/oidscope-docs-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error(std::strerror(errno));
        root = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    std::string path(const std::string &relative) const { return root + "/" + relative; }
    void file(const std::string &relative, const std::string &content) const
    {
        fs::create_directories(fs::path(path(relative)).parent_path());
        std::ofstream(path(relative), std::ios::binary) << content;
    }
    std::string root;
};

// Gzip as the packages ship it. The middle part is written as many times as
// it takes to reach middleBytes, so a large file needs no large string.
std::string gzip(const std::string &head, const std::string &middle = "", std::size_t middleBytes = 0,
                 const std::string &tail = "")
{
    GZlibCompressor *compressor = g_zlib_compressor_new(G_ZLIB_COMPRESSOR_FORMAT_GZIP, middleBytes ? 1 : 6);
    GOutputStream *memory = g_memory_output_stream_new_resizable();
    GOutputStream *stream = g_converter_output_stream_new(memory, G_CONVERTER(compressor));
    g_output_stream_write_all(stream, head.data(), head.size(), nullptr, nullptr, nullptr);
    for (std::size_t written = 0; written < middleBytes; written += middle.size())
        g_output_stream_write_all(stream, middle.data(), middle.size(), nullptr, nullptr, nullptr);
    g_output_stream_write_all(stream, tail.data(), tail.size(), nullptr, nullptr, nullptr);
    g_output_stream_close(stream, nullptr, nullptr);
    auto *output = G_MEMORY_OUTPUT_STREAM(memory);
    std::string data(static_cast<const char *>(g_memory_output_stream_get_data(output)),
                     g_memory_output_stream_get_data_size(output));
    g_object_unref(stream);
    g_object_unref(memory);
    g_object_unref(compressor);
    return data;
}

std::string describe(const linuxmib::DocIndex &index, const std::string &name)
{
    const std::string *text = index.find(name);
    return text ? *text : "(none)";
}

const char *const vmDoc = R"(===============================
Documentation for /proc/sys/vm/
===============================

kernel version 2.6.29

------------------------------------------------------------------------------

Currently, these files are in /proc/sys/vm:

- swappiness
- page-cluster


swappiness
==========

This control is used to define the rough relative IO cost of swapping
and filesystem paging, as a value between 0 and 200.

The default value is 60.

page-cluster
============

page-cluster controls the number of pages up to which consecutive pages
are read in from swap in a single attempt.

nr_trim_pages
=============

  This is available only on NOMMU kernels.
)";

const char *const kernelDoc = R"(===================================
Documentation for /proc/sys/kernel/
===================================

msgmax, msgmnb, and msgmni
==========================

``msgmax`` is the maximum size of an IPC message, in bytes.

domainname & hostname
=====================

These files can be used to set the NIS/YP domainname and the
hostname of your box, i.e.::

	# echo "darkstar" > /proc/sys/kernel/hostname

bootloader_type (x86 only)
==========================

This gives the bootloader type number.

random
======

This is a directory, with the following entries:

* ``boot_id``: a UUID generated the first time this is retrieved, and
  unvarying after that;

* ``uuid``: a UUID generated every time this is retrieved;

tainted
=======

.. note::

   A note is no description.

======  =====  ===========================
     1  `(P)`  proprietary module was loaded
======  =====  ===========================

Non-zero if the kernel has been tainted.
)";

const char *const fsDoc = R"(===============================
Documentation for /proc/sys/fs/
===============================

1. /proc/sys/fs
===============

suid_dumpable:
--------------

This value can be used to query and set the core dump mode.

3. /proc/sys/fs/mqueue - POSIX message queues filesystem
========================================================

The "mqueue" filesystem provides the necessary kernel features.

/proc/sys/fs/mqueue/msg_max  is  a  read/write file  for  setting/getting  the
maximum number of messages in a queue value.

``/proc/sys/fs/mqueue/queues_max`` is a read/write file for
setting/getting the maximum number of message queues allowed.
)";

const char *const netDoc = R"(================================
Documentation for /proc/sys/net/
================================

1. /proc/sys/net/core - Network core options
============================================

somaxconn
---------

Limit of socket listen() backlog, known in userspace as SOMAXCONN.

4. Appletalk
------------

The /proc/sys/net/appletalk  directory  holds the Appletalk configuration data.

aarp-tick-time
--------------

Controls the rate at which expires are checked.

5. TIPC
-------

tipc_rmem
---------

The TIPC protocol now has a tunable for the receive memory, similar to the
tcp_rmem - i.e. a vector of 3 INTEGERs: (min, default, max)
    indented text of that paragraph
)";

const char *const ipDoc = R"(.. SPDX-License-Identifier: GPL-2.0

=========
IP Sysctl
=========

/proc/sys/net/ipv4/* Variables
==============================

ip_forward - BOOLEAN
	- 0 - disabled (default)
	- not 0 - enabled

	Forward Packets between interfaces.

min_pmtu - INTEGER
	default 552 - minimum Path MTU.

neigh/default/unres_qlen - INTEGER
	The maximum number of packets which may be queued for each
	unresolved address by other network layers.

IP Fragmentation:

ipfrag_time - INTEGER
	Time in seconds to keep an IP fragment in memory.

TCP variables
=============

tcp_syncookies - INTEGER
	Default: 1

	Send out syncookies when the syn backlog queue of a socket
	overflows.

icmp_errors_use_inbound_ifaddr - BOOLEAN

	If zero, icmp error messages are sent with the primary address of
	the exiting interface.

``conf/interface/*``
	changes special settings per interface (where
	interface" is the name of your network interface)

``conf/all/*``
	  is special, changes the settings for all interfaces

forwarding - BOOLEAN
	Enable IP forwarding on this interface.  This controls whether packets
	received _on_ this interface can be forwarded.

xfrm4_gc_thresh - INTEGER
	The threshold at which we will start garbage collecting.

/proc/sys/net/ipv6/* Variables
==============================

``conf/all/*``:
	Change all the interface-specific settings.

conf/all/forwarding - BOOLEAN
	Enable global IPv6 forwarding between all interfaces.

``conf/interface/*``:
	Change special settings per interface.

forwarding - INTEGER
	Configure interface-specific Host/Router behaviour.

``icmp/*``:
===========

ratelimit - INTEGER
	Limit the maximal rates for sending ICMPv6 messages.
)";

const char *const ioamDoc = R"(=====================
IOAM6 Sysfs variables
=====================

/proc/sys/net/conf/<iface>/ioam6_* variables:
=============================================

ioam6_enabled - BOOL
        Accept (= enabled) or ignore (= disabled) IPv6 IOAM options on ingress
        for this interface.
)";

const char *const conntrackDoc = R"(/proc/sys/net/netfilter/nf_conntrack_* Variables:
=================================================

nf_conntrack_max - INTEGER
	Maximum number of allowed connection tracking entries.
)";

const char *const sunrpcDoc = R"(===================================
Documentation for /proc/sys/sunrpc/
===================================

nfs_debug
=========

The NFS client's debugging flags.
)";

struct Case {
    const char *name;
    const char *description;
};

TEST(DocIndexTest, ReadsHeadingsAndEntriesWhereverTheDirectoryIsNamed)
{
    TempDir docs;
    docs.file("admin-guide/sysctl/vm.rst.gz", gzip(vmDoc));
    docs.file("admin-guide/sysctl/kernel.rst.gz", gzip(kernelDoc));
    docs.file("admin-guide/sysctl/fs.rst.gz", gzip(fsDoc));
    docs.file("admin-guide/sysctl/net.rst.gz", gzip(netDoc));
    docs.file("admin-guide/sysctl/sunrpc.rst", sunrpcDoc);  // a plain copy serves too
    docs.file("networking/ip-sysctl.rst.gz", gzip(ipDoc));
    docs.file("networking/ioam6-sysctl.rst.gz", gzip(ioamDoc));
    docs.file("networking/nf_conntrack-sysctl.rst.gz", gzip(conntrackDoc));
    // Named like one, but no sysctl documentation: not read.
    docs.file("networking/xfrm_device.rst.gz", gzip("/proc/sys/net/core/* Variables\n"
                                                    "==============================\n\n"
                                                    "somaxconn - INTEGER\n\tWrong file.\n"));

    linuxmib::DocIndex index;
    index.load(docs.root);
    EXPECT_EQ(index.filesRead(), 8);

    const Case cases[] = {
        {"vm.swappiness", "This control is used to define the rough relative IO cost of swapping and "
                          "filesystem paging, as a value between 0 and 200."},
        {"vm.page-cluster", "page-cluster controls the number of pages up to which consecutive pages are "
                            "read in from swap in a single attempt."},
        {"vm.nr_trim_pages", "This is available only on NOMMU kernels."},
        {"kernel.msgmax", "msgmax is the maximum size of an IPC message, in bytes."},
        {"kernel.msgmni", "msgmax is the maximum size of an IPC message, in bytes."},
        {"kernel.hostname", "These files can be used to set the NIS/YP domainname and the hostname of your "
                            "box, i.e.:"},
        {"kernel.domainname", "These files can be used to set the NIS/YP domainname and the hostname of "
                              "your box, i.e.:"},
        {"kernel.bootloader_type", "This gives the bootloader type number."},
        {"kernel.random", "This is a directory, with the following entries:"},
        {"kernel.random.boot_id", "a UUID generated the first time this is retrieved, and unvarying after that"},
        {"kernel.random.uuid", "a UUID generated every time this is retrieved"},
        {"kernel.tainted", "Non-zero if the kernel has been tainted."},
        {"fs.suid_dumpable", "This value can be used to query and set the core dump mode."},
        {"fs.mqueue", "The \"mqueue\" filesystem provides the necessary kernel features."},
        {"fs.mqueue.msg_max", "/proc/sys/fs/mqueue/msg_max is a read/write file for setting/getting the "
                              "maximum number of messages in a queue value."},
        {"fs.mqueue.queues_max", "/proc/sys/fs/mqueue/queues_max is a read/write file for setting/getting "
                                 "the maximum number of message queues allowed."},
        {"net.core", "Network core options"},
        {"net.core.somaxconn", "Limit of socket listen() backlog, known in userspace as SOMAXCONN."},
        {"net.appletalk.aarp-tick-time", "Controls the rate at which expires are checked."},
        {"net.tipc.tipc_rmem", "The TIPC protocol now has a tunable for the receive memory, similar to the "
                               "tcp_rmem - i.e. a vector of 3 INTEGERs: (min, default, max) indented text "
                               "of that paragraph"},
        {"net.tipc.tcp_rmem", nullptr},
        {"sunrpc.nfs_debug", "The NFS client's debugging flags."},
        // Entries: prose before a list or a default, wherever they stand.
        {"net.ipv4.ip_forward", "Forward Packets between interfaces."},
        {"net.ipv4.ipfrag_time", "Time in seconds to keep an IP fragment in memory."},
        {"net.ipv4.tcp_syncookies", "Send out syncookies when the syn backlog queue of a socket overflows."},
        {"net.ipv4.icmp_errors_use_inbound_ifaddr", "If zero, icmp error messages are sent with the primary "
                                                    "address of the exiting interface."},
        {"net.ipv4.route.min_pmtu", "default 552 - minimum Path MTU."},
        {"net.ipv4.neigh.default.unres_qlen", "The maximum number of packets which may be queued for each "
                                              "unresolved address by other network layers."},
        {"net.ipv4.neigh.eth0.unres_qlen", "The maximum number of packets which may be queued for each "
                                           "unresolved address by other network layers."},
        // Per-interface entries, for any interface and for all/ and default/.
        {"net.ipv4.conf.eth0.forwarding", "Enable IP forwarding on this interface. This controls whether "
                                          "packets received _on_ this interface can be forwarded."},
        {"net.ipv4.conf.all.forwarding", "Enable IP forwarding on this interface. This controls whether "
                                         "packets received _on_ this interface can be forwarded."},
        {"net.ipv4.conf.eth0/100.forwarding", "Enable IP forwarding on this interface. This controls "
                                              "whether packets received _on_ this interface can be forwarded."},
        {"net.ipv4.xfrm4_gc_thresh", "The threshold at which we will start garbage collecting."},
        {"net.ipv6.conf.eth0.ipfrag_time", nullptr},
        {"net.ipv6.conf.all.forwarding", "Enable global IPv6 forwarding between all interfaces."},
        {"net.ipv6.conf.default.forwarding", "Configure interface-specific Host/Router behaviour."},
        {"net.ipv6.conf.eth0.forwarding", "Configure interface-specific Host/Router behaviour."},
        {"net.ipv6.icmp.ratelimit", "Limit the maximal rates for sending ICMPv6 messages."},
        {"net.ipv6.conf.eth0.ioam6_enabled", "Accept (= enabled) or ignore (= disabled) IPv6 IOAM options on "
                                             "ingress for this interface."},
        {"net.netfilter.nf_conntrack_max", "Maximum number of allowed connection tracking entries."},
        {"vm.swap", nullptr},
        {"vm", nullptr},
    };
    for (const Case &c : cases)
        EXPECT_EQ(describe(index, c.name), c.description ? c.description : "(none)") << c.name;

    // A new load replaces the old.
    TempDir empty;
    index.load(empty.root);
    EXPECT_EQ(index.size(), 0u);
    EXPECT_EQ(index.find("vm.swappiness"), nullptr);
}

TEST(DocIndexTest, MarkupIsReducedToPlainText)
{
    const Case cases[] = {
        {"literal", "Set ``vm.swappiness`` to 0."},
        {"link", "See `the kernel <https://kernel.org/>`_ and `Other section`_."},
        {"role", "See :ref:`Huge pages <hugetlb>` and :doc:`/admin-guide/mm`."},
        {"emphasis", "This is **very** *important*, unlike tcp_* and 2*3*4."},
        {"escape", "A \\*star and a\\ joined word."},
        {"footnote", "As RFC 1337 says [1]_ here."},
        {"literal_end", "For example::"},
        {"literal_end_spaced", "For example ::"},
        {"blanks", "Tabs\tand\n   newlines    collapse."},
    };
    const char *const expected[] = {
        "Set vm.swappiness to 0.",
        "See the kernel and Other section.",
        "See Huge pages and /admin-guide/mm.",
        "This is very important, unlike tcp_* and 2*3*4.",
        "A *star and ajoined word.",
        "As RFC 1337 says here.",
        "For example:",
        "For example",
        "Tabs and newlines collapse.",
    };
    std::string doc = "Documentation for /proc/sys/vm/\n===============================\n\n";
    for (const Case &c : cases)
        doc += std::string(c.name) + "\n" + std::string(std::strlen(c.name), '=') + "\n\n" + c.description + "\n\n";
    // A paragraph longer than a description may be, of two-byte characters.
    std::string longText;
    while (longText.size() < 3 * linuxmib::DocIndex::maxDescriptionBytes)
        longText += "\u00e9t\u00e9 ";
    doc += "long\n====\n\n" + longText + "\n";

    TempDir docs;
    docs.file("admin-guide/sysctl/vm.rst.gz", gzip(doc));
    linuxmib::DocIndex index;
    index.load(docs.root);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(describe(index, std::string("vm.") + cases[i].name), expected[i]) << cases[i].name;

    std::string cut = describe(index, "vm.long");
    EXPECT_LE(cut.size(), linuxmib::DocIndex::maxDescriptionBytes + 3);
    EXPECT_GT(cut.size(), linuxmib::DocIndex::maxDescriptionBytes / 2);
    EXPECT_TRUE(g_utf8_validate(cut.data(), cut.size(), nullptr));
    EXPECT_EQ(cut.substr(cut.size() - 3), "\u2026");
}

TEST(DocIndexTest, BadFilesAreSkippedOrReadAsFarAsTheyMakeSense)
{
    TempDir docs;
    // Not gzip, though named so.
    docs.file("admin-guide/sysctl/kernel.rst.gz", kernelDoc);
    // Truncated: the part that arrived counts.
    std::string filler;
    for (unsigned seed = 1; filler.size() < 200000;) {
        seed = seed * 1103515245u + 12345u;
        filler += static_cast<char>('a' + (seed >> 16) % 26);
        filler += (seed >> 8) % 7 == 0 ? "\n" : "";
    }
    std::string vm = std::string(vmDoc) + "\nfiller\n======\n\n" + filler + "\n\nlate_entry\n==========\n\nLate.\n";
    std::string vmGz = gzip(vm);
    docs.file("admin-guide/sysctl/vm.rst.gz", vmGz.substr(0, vmGz.size() / 2));
    // Not UTF-8, with NUL bytes and carriage returns.
    docs.file("admin-guide/sysctl/fs.rst.gz",
              gzip("Documentation for /proc/sys/fs/\n===============================\r\n\r\n"
                   "file-max\n========\n\nCaf\xe9 \xff\xfe handles\0, in\r\nall.\n\0"s));
    // Empty, a directory and a FIFO in a file's place.
    docs.file("admin-guide/sysctl/net.rst.gz", "");
    fs::create_directories(docs.path("admin-guide/sysctl/user.rst.gz"));
    ASSERT_EQ(mkfifo(docs.path("admin-guide/sysctl/abi.rst.gz").c_str(), 0644), 0);
    // 100 MB of text, compressed to little: read up to the limit only.
    std::string block;
    while (block.size() < 4096)
        block += "A line of text that goes on and on in a file far too large.\n";
    std::string head = "/proc/sys/net/ipv4/* Variables\n==============================\n\n"
                       "ip_forward - BOOLEAN\n\tForward Packets between interfaces.\n\n";
    std::string tail = "\ntcp_syncookies - INTEGER\n\tNever read.\n";
    docs.file("networking/ip-sysctl.rst.gz", gzip(head, block, 100u << 20, tail));
    // A good file beside them.
    docs.file("networking/mpls-sysctl.rst.gz",
              gzip("/proc/sys/net/mpls/* Variables:\n===============================\n\n"
                   "platform_labels - INTEGER\n\tNumber of entries in the platform label table.\n"));

    linuxmib::DocIndex index;
    index.load(docs.root);

    EXPECT_EQ(index.filesRead(), 4);  // vm, fs, ip-sysctl, mpls
    EXPECT_EQ(index.find("kernel.msgmax"), nullptr);
    EXPECT_EQ(describe(index, "vm.swappiness").substr(0, 16), "This control is ");
    EXPECT_EQ(index.find("vm.late_entry"), nullptr);
    std::string mended = describe(index, "fs.file-max");
    EXPECT_TRUE(g_utf8_validate(mended.data(), mended.size(), nullptr)) << mended;
    EXPECT_EQ(mended, "Caf\ufffd \ufffd\ufffd handles , in all.");
    EXPECT_EQ(describe(index, "net.ipv4.ip_forward"), "Forward Packets between interfaces.");
    EXPECT_EQ(index.find("net.ipv4.tcp_syncookies"), nullptr);
    EXPECT_EQ(describe(index, "net.mpls.platform_labels"), "Number of entries in the platform label table.");
}

TEST(DocIndexTest, PrefersTheRunningKernelsDocumentationElseTheNewest)
{
    TempDir parent;
    for (const char *version : {"5.10", "6.1", "6.9", "6.12"})
        fs::create_directories(parent.path(std::string("linux-doc-") + version + "/Documentation"));
    fs::create_directories(parent.path("linux-doc-6.20"));  // no Documentation/
    fs::create_directories(parent.path("linux-doc/Documentation"));
    parent.file("linux-doc-7.0", "");

    const std::pair<const char *, const char *> cases[] = {
        {"6.1.0-18-amd64", "linux-doc-6.1"},
        {"6.12.44-fc-v1523", "linux-doc-6.12"},
        {"5.10.0", "linux-doc-5.10"},
        {"6.18.44", "linux-doc-6.12"},  // numbers, not letters: 6.12 is newer than 6.9
        {"6.2.0", "linux-doc-6.12"},
        {"", "linux-doc-6.12"},
    };
    for (const auto &[release, dir] : cases)
        EXPECT_EQ(linuxmib::DocIndex::findDocumentationDir(parent.root, release),
                  parent.path(std::string(dir) + "/Documentation"))
            << release;
    EXPECT_EQ(linuxmib::DocIndex::findDocumentationDir(parent.path("absent"), "6.1.0"), "");
}

}  // namespace
