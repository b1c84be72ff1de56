#include "support/WindowRecorder.h"

#include <gtk/gtk.h>

WindowRecorder::WindowRecorder()
    : signal(g_signal_lookup("map", GTK_TYPE_WIDGET)),
      hook(g_signal_add_emission_hook(signal, 0, &WindowRecorder::onMap, this, nullptr))
{
}

WindowRecorder::~WindowRecorder()
{
    g_signal_remove_emission_hook(signal, hook);
}

gboolean WindowRecorder::onMap(GSignalInvocationHint *, guint, const GValue *params, gpointer self)
{
    auto *widget = static_cast<GObject *>(g_value_get_object(&params[0]));
    if (GTK_IS_WINDOW(widget) && gtk_widget_is_toplevel(GTK_WIDGET(widget))) {
        const char *title = gtk_window_get_title(GTK_WINDOW(widget));
        auto *recorder = static_cast<WindowRecorder *>(self);
        recorder->shown.push_back(title ? title : "");
        recorder->types.push_back(G_OBJECT_TYPE_NAME(widget));
    }
    return TRUE;
}
