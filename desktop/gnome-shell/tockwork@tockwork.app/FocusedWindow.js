// SPDX-License-Identifier: GPL-3.0-or-later
// The window that has the focus, told to TockWork over the session bus. GNOME Shell on Wayland
// names native windows to nobody outside the Shell; inside it, Meta names the focused window and
// Shell's window tracker the application it belongs to. The title goes to TockWork's process on
// this user's own bus, as X11 shows it to every client: it never leaves the machine.
//
// This file is shared by both flavours of the extension; each adds its imports in front and its
// entry point after (GNOME 43-44 load scripts with imports.*, GNOME 45 and later ES modules).

const BUS_NAME = 'app.tockwork.FocusedWindow';
const OBJECT_PATH = '/app/tockwork/FocusedWindow';
const INTERFACE_XML = `
<node>
  <interface name="app.tockwork.FocusedWindow">
    <method name="Get">
      <arg type="s" name="wm_class" direction="out"/>
      <arg type="s" name="wm_class_instance" direction="out"/>
      <arg type="s" name="app_id" direction="out"/>
      <arg type="s" name="title" direction="out"/>
      <arg type="u" name="pid" direction="out"/>
    </method>
    <signal name="Changed">
      <arg type="s" name="wm_class"/>
      <arg type="s" name="wm_class_instance"/>
      <arg type="s" name="app_id"/>
      <arg type="s" name="title"/>
      <arg type="u" name="pid"/>
    </signal>
  </interface>
</node>`;

class FocusedWindowService {
    constructor() {
        this._exported = null;
        this._ownerId = 0;
        this._window = null;
        this._focusId = 0;
        this._titleId = 0;
        this._classId = 0;
        this._last = null;
    }

    enable() {
        this._exported = Gio.DBusExportedObject.wrapJSObject(INTERFACE_XML, this);
        this._exported.export(Gio.DBus.session, OBJECT_PATH);
        // The object is in place before the name appears: whoever sees the name can call Get.
        this._ownerId = Gio.bus_own_name_on_connection(
            Gio.DBus.session, BUS_NAME, Gio.BusNameOwnerFlags.NONE, null, null);
        this._focusId = global.display.connect('notify::focus-window', () => this._follow());
        this._follow();
    }

    disable() {
        if (this._focusId)
            global.display.disconnect(this._focusId);
        this._focusId = 0;
        this._watch(null);
        if (this._ownerId)
            Gio.bus_unown_name(this._ownerId);
        this._ownerId = 0;
        if (this._exported)
            this._exported.unexport();
        this._exported = null;
        this._last = null;
    }

    Get() {
        return this._describe();
    }

    _follow() {
        this._watch(global.display.focus_window);
        this._report();
    }

    // The front window's title and class change without a focus change (a browser's tab, a
    // Wayland client that sets its app id after mapping).
    _watch(window) {
        if (window === this._window)
            return;
        if (this._window) {
            this._window.disconnect(this._titleId);
            this._window.disconnect(this._classId);
        }
        this._window = window;
        this._titleId = window ? window.connect('notify::title', () => this._report()) : 0;
        this._classId = window ? window.connect('notify::wm-class', () => this._report()) : 0;
    }

    _describe() {
        const window = this._window;
        if (!window)
            return ['', '', '', '', 0];
        const app = Shell.WindowTracker.get_default().get_window_app(window);
        // The tracker makes up "window:123" for windows it cannot place: that is no app id.
        const appId = app && app.get_id() && !app.get_id().startsWith('window:')
            ? app.get_id() : '';
        const pid = window.get_pid();
        return [window.get_wm_class() || '', window.get_wm_class_instance() || '', appId,
            window.get_title() || '', pid > 0 ? pid : 0];
    }

    _report() {
        const now = this._describe();
        if (this._last && now.every((value, i) => value === this._last[i]))
            return;
        this._last = now;
        if (this._exported)
            this._exported.emit_signal('Changed', new GLib.Variant('(ssssu)', now));
    }
}
