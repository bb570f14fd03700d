# SPDX-License-Identifier: GPL-3.0-or-later
"""The X display as the start-up figures see it, through Xlib (ctypes): windows mapped, told by
the server's MapNotify events rather than found by polling, and pixels read back."""

import ctypes
import select
import time

_X = ctypes.CDLL("libX11.so.6")


class _AnyEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong),
                ("window", ctypes.c_ulong)]


class _Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("any", _AnyEvent), ("pad", ctypes.c_long * 24)]


class _Image(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte))]


class _Attributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int),
                ("depth", ctypes.c_int), ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong),
                ("class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
                ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int),
                ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
                ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
                ("screen", ctypes.c_void_p)]


_ErrorHandler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
# A window may go between its event and our question about it: that is no reason to end.
_ignore_errors = _ErrorHandler(lambda display, error: 0)

_X.XOpenDisplay.restype = ctypes.c_void_p
_X.XOpenDisplay.argtypes = [ctypes.c_char_p]
_X.XCloseDisplay.argtypes = [ctypes.c_void_p]
_X.XDefaultRootWindow.restype = ctypes.c_ulong
_X.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_X.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
_X.XConnectionNumber.argtypes = [ctypes.c_void_p]
_X.XPending.argtypes = [ctypes.c_void_p]
_X.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(_Event)]
_X.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
_X.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                    ctypes.POINTER(_Attributes)]
_X.XFree.argtypes = [ctypes.c_void_p]
_X.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_X.XGetImage.restype = ctypes.POINTER(_Image)
_X.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                         ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_X.XSetWindowBackground.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong]
_X.XClearWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_X.XSetErrorHandler.argtypes = [_ErrorHandler]
_X.XSetErrorHandler(_ignore_errors)

_MAP_NOTIFY = 19
_SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
_Z_PIXMAP = 2


class Screen:
    """Listens for windows being mapped on the root window from the moment it is made."""

    def __init__(self):
        self.display = _X.XOpenDisplay(None)
        if not self.display:
            raise SystemExit("cannot open the X display")
        self.root = _X.XDefaultRootWindow(self.display)
        _X.XSelectInput(self.display, self.root, _SUBSTRUCTURE_NOTIFY_MASK)
        _X.XSync(self.display, 1)  # events from before now do not count

    def close(self):
        _X.XCloseDisplay(self.display)

    def clear(self):
        """The screen black where no window is: what earlier windows left there goes."""
        _X.XSetWindowBackground(self.display, self.root, 0)
        _X.XClearWindow(self.display, self.root)
        _X.XSync(self.display, 0)
        return self.pixel(0, 0)

    def wait_mapped(self, title, timeout=60):
        """When the window of that title was mapped (time.perf_counter) and the window."""
        deadline = time.perf_counter() + timeout
        event = _Event()
        while time.perf_counter() < deadline:
            while _X.XPending(self.display):
                _X.XNextEvent(self.display, ctypes.byref(event))
                if event.type == _MAP_NOTIFY:
                    when = time.perf_counter()
                    if self.title(event.any.window) == title:
                        return when, event.any.window
            select.select([_X.XConnectionNumber(self.display)], [], [], 0.05)
        raise SystemExit(f"no window '{title}' was mapped within {timeout} s")

    def title(self, window):
        name = ctypes.c_char_p()
        if not _X.XFetchName(self.display, window, ctypes.byref(name)) or name.value is None:
            return None
        title = name.value.decode(errors="replace")
        _X.XFree(name)
        return title

    def geometry(self, window):
        """x, y, width, height of a top-level window (there is no window manager to frame it)."""
        attributes = _Attributes()
        _X.XGetWindowAttributes(self.display, window, ctypes.byref(attributes))
        return attributes.x, attributes.y, attributes.width, attributes.height

    def pixel(self, x, y):
        image = _X.XGetImage(self.display, self.root, x, y, 1, 1, 0xFFFFFFFF, _Z_PIXMAP)
        if not image:
            return None
        data = image.contents.data
        colour = data[2], data[1], data[0]
        _X.XFree(ctypes.cast(data, ctypes.c_void_p))
        _X.XFree(ctypes.cast(image, ctypes.c_void_p))
        return colour

    def wait_changed(self, point, before, timeout=60):
        """When the point first shows another colour than it had (time.perf_counter)."""
        deadline = time.perf_counter() + timeout
        while time.perf_counter() < deadline:
            if self.pixel(*point) != before:
                return time.perf_counter()
            time.sleep(0.001)
        raise SystemExit(f"the point {point} never changed")
