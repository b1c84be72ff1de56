#ifndef OIDSCOPE_OBJECT_WINDOW_H
#define OIDSCOPE_OBJECT_WINDOW_H

#include "objectwindow/RowTracker.h"

#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/grid.h>
#include <gtkmm/textbuffer.h>
#include <gtkmm/textview.h>
#include <gtkmm/treemodel.h>
#include <gtkmm/window.h>

#include <string>
#include <vector>

class Model;

// The detail window of one MIB object: its texts, flags, handler and value
// read in full, and a way to set a new value. Made on the heap once per
// activated row; nothing keeps it, so it deletes itself when hidden.
class ObjectWindow : public Gtk::Window {
public:
    ObjectWindow(Gtk::TreeModel::Row row, Model *model);
    virtual ~ObjectWindow();

    void onSetValueClicked();
    // Enter in the entry: what the button does, where the button can be pressed.
    void onNewValueActivated();

    Model *model;  // not owned
    Gtk::Entry *newValueEntry;
    Glib::RefPtr<Gtk::TextBuffer> valueBuffer;

private:
    Glib::ustring flagsLegend(const Gtk::TreeModel::Row &row) const;
    Glib::ustring handlerAnswer(const std::string &kernelName);
    void addField(Gtk::Grid *grid, int gridRow, const Glib::ustring &title,
                  const Glib::ustring &text, bool monospace);
    void showValue(const Glib::ustring &text);
    void onFieldAllocated(Gtk::Allocation &allocation, Gtk::TextView *view);
    bool onFitFields();
    void onHide();
    void onClosedDuringSet();

    // The object, by its full name; its row is looked up when a set needs it.
    RowTracker tracker;
    Gtk::Button *setValueButton = nullptr;
    sigc::connection hideConnection;
    std::vector<Gtk::TextView *> fields;  // the grid owns them
    Gtk::TextView *valueView = nullptr;
    sigc::connection fitConnection;
    bool settingValue = false;       // a set-value dialog is running
    bool closedWhileSetting = false;  // hidden while it ran
};

#endif
