#ifndef OIDSCOPE_TESTS_WINDOW_RECORDER_H
#define OIDSCOPE_TESTS_WINDOW_RECORDER_H

// Records the title of every toplevel window that is shown (mapped) while it
// exists, in order, whoever created it and however briefly it lived.

#include <glib-object.h>

#include <string>
#include <vector>

class WindowRecorder {
public:
    WindowRecorder();
    ~WindowRecorder();
    WindowRecorder(const WindowRecorder &) = delete;
    WindowRecorder &operator=(const WindowRecorder &) = delete;

    std::vector<std::string> shown;  // window titles
    std::vector<std::string> types;  // their GType names, e.g. GtkMessageDialog

private:
    static gboolean onMap(GSignalInvocationHint *, guint, const GValue *params, gpointer self);
    guint signal;
    gulong hook;
};

#endif
