#ifndef OIDSCOPE_OBJECT_WINDOW_H
#define OIDSCOPE_OBJECT_WINDOW_H

#include "objectwindow/RowTracker.h"

#include <gtkmm/entry.h>
#include <gtkmm/grid.h>
#include <gtkmm/textbuffer.h>
#include <gtkmm/treemodel.h>
#include <gtkmm/window.h>

#include <string>

class Model;

// The detail window of one MIB object: its texts, flags, handler and value
// read in full, and a way to set a new value. Made on the heap once per
// activated row; nothing keeps it, so it deletes itself once closed.
class ObjectWindow : public Gtk::Window {
public:
    ObjectWindow(Gtk::TreeModel::Row row, Model *model);
    virtual ~ObjectWindow();

    void onSetValueClicked();

    // Windows alive now; closed ones are gone after the next idle moment.
    static int liveCount();

    Gtk::TreeModel::Row row;  // as activated; read only while building
    Model *model;             // not owned
    Gtk::Entry *newValueEntry;
    Glib::RefPtr<Gtk::TextBuffer> valueBuffer;

private:
    Glib::ustring flagsLegend() const;
    Glib::ustring handlerAnswer(const std::string &kernelName);
    void addField(Gtk::Grid *grid, int gridRow, const Glib::ustring &title,
                  const Glib::ustring &text, bool monospace);
    void onHide();
    void scheduleReclaim();
    bool onReclaim();

    RowTracker tracker;
    Glib::ustring shortName;
    sigc::connection hideConnection;
    sigc::connection reclaimConnection;
    bool settingValue = false;    // a set-value dialog is running
    bool reclaimAfterSet = false;  // closed while it ran
    static int liveWindows;
};

#endif
