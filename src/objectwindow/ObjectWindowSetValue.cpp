#include "objectwindow/ObjectWindow.h"

#include "mib/SysctlException.h"
#include "model/Model.h"

#include <glibmm/main.h>
#include <gtkmm/messagedialog.h>

void ObjectWindow::onSetValueClicked()
{
    Gtk::MessageDialog dialog(*this, "SET VALUE", false, Gtk::MESSAGE_INFO, Gtk::BUTTONS_OK, false);
    dialog.set_title(get_title());

    Glib::ustring report = "[OLD Value]: " + valueBuffer->get_text() + "\n";
    Gtk::TreeModel::Row target;
    try {
        // Never the copied row: after a rebuild or with internal nodes hidden
        // it designates nothing. The tracker gives the object's row now.
        target = tracker.current();
        const Glib::ustring newValue = model->setValue(target, newValueEntry->get_text());
        showValue(newValue);
        report += "[NEW Value]: " + valueBuffer->get_text() + "\n";
        newValueEntry->set_text("");
    } catch (SysctlException *error) {
        dialog.property_message_type() = Gtk::MESSAGE_ERROR;
        dialog.set_message("Error", false);
        report = error->what();
        // A refused write can still have changed the value; the window and
        // the tree must not go on showing the old one.
        if (error->valueAfter && Glib::ustring(*error->valueAfter) != valueBuffer->get_text()) {
            const Glib::ustring now(*error->valueAfter);
            valueBuffer->set_text(now);
            model->putValue(target, now);
            report += "\nThe value is now: " + now;
        }
        delete error;
    }
    dialog.set_secondary_text(report, false);

    settingValue = true;
    dialog.run();
    settingValue = false;
    // Not from inside the button's handler, which returns into this window.
    if (closedWhileSetting)
        Glib::signal_idle().connect_once(sigc::mem_fun(*this, &ObjectWindow::onClosedDuringSet));
}
