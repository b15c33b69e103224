// Zobu 4 platform floor: modeless dialogs from DLGTEMPLATEEX resources.
//
// CreateDialogParamA reads the template, makes the dialog window (class "#32770") hidden,
// sends it WM_SETFONT when the template names a font, creates each control and sends it
// WM_SETFONT, then sends WM_INITDIALOG; a non-zero answer puts the focus on the first
// control with WS_TABSTOP. A template with WS_VISIBLE is shown last. Positions and sizes are
// in dialog units: 4 across and 8 down to the font's base units, which our one dialog font
// (6 x 13, whatever face the template asks for) makes 6 x 13 pixels; the dialog stands
// relative to its owner's client area unless DS_ABSALIGN says the screen's.
//
// The dialog's window procedure is the system's: it hands every message to the program's
// dialog procedure first, and does the default work when that answers 0 (FALSE). A non-zero
// answer is the result for WM_INITDIALOG and the WM_CTLCOLOR* messages, and means "done,
// result 0" for the others, as with a DWLP_MSGRESULT the program never sets.
#include "user_private.h"

#include "../kernel/resources.h"

#include <string>
#include <vector>

namespace {

struct DialogItem {
    DWORD style = 0;
    DWORD ex_style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    WORD class_atom = 0; // 0 when named
    std::string class_name;
    std::string title;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD ex_style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::string title;
    std::vector<DialogItem> items;
};

// Reads a DLGTEMPLATEEX, refusing anything that would read past its bytes.
class TemplateReader {
  public:
    TemplateReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }

    WORD Word() {
        if (!Need(2)) {
            return 0;
        }
        const WORD v = static_cast<WORD>(data_[at_] | (data_[at_ + 1] << 8));
        at_ += 2;
        return v;
    }
    DWORD Dword() {
        const WORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    int16_t Short() { return static_cast<int16_t>(Word()); }
    void Skip(size_t n) {
        if (Need(n)) {
            at_ += n;
        }
    }
    void AlignToDword() { Skip((4 - at_ % 4) % 4); }

    // A NUL-terminated UTF-16 string, as 8-bit text: what lies beyond ISO 8859-1 becomes '?'.
    std::string Text() {
        std::string text;
        for (WORD c = Word(); ok_ && c != 0; c = Word()) {
            text += c <= 0xFF ? static_cast<char>(c) : '?';
        }
        return text;
    }
    // A name or an ordinal: 0 for none, 0xFFFF and a number, or a string.
    void NameOrOrdinal(WORD* ordinal, std::string* name) {
        *ordinal = 0;
        name->clear();
        const size_t start = at_;
        const WORD first = Word();
        if (first == 0xFFFF) {
            *ordinal = Word();
        } else if (first != 0) {
            at_ = start;
            *name = Text();
        }
    }

  private:
    bool Need(size_t n) {
        ok_ = ok_ && n <= size_ - at_;
        return ok_;
    }

    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

bool ParseTemplate(const uint8_t* data, size_t size, DialogTemplate* out) {
    TemplateReader r(data, size);
    if (r.Word() != 1 || r.Word() != 0xFFFF) {
        return false; // not a DLGTEMPLATEEX
    }
    r.Dword(); // help id
    out->ex_style = r.Dword();
    out->style = r.Dword();
    const WORD count = r.Word();
    out->x = r.Short();
    out->y = r.Short();
    out->cx = r.Short();
    out->cy = r.Short();
    WORD ordinal;
    std::string name;
    r.NameOrOrdinal(&ordinal, &name); // menu: dialogs of ours have none
    r.NameOrOrdinal(&ordinal, &name); // class: ours are of the dialog class
    out->title = r.Text();
    if (out->style & DS_SETFONT) {
        r.Word();  // point size
        r.Word();  // weight
        r.Skip(2); // italic, character set
        r.Text();  // face: we have one dialog font for every face
    }
    for (WORD i = 0; i < count && r.ok(); ++i) {
        DialogItem item;
        r.AlignToDword();
        r.Dword(); // help id
        item.ex_style = r.Dword();
        item.style = r.Dword();
        item.x = r.Short();
        item.y = r.Short();
        item.cx = r.Short();
        item.cy = r.Short();
        item.id = r.Dword();
        r.NameOrOrdinal(&item.class_atom, &item.class_name);
        WORD title_ordinal;
        r.NameOrOrdinal(&title_ordinal, &item.title);
        r.Skip(r.Word()); // creation data
        out->items.push_back(item);
    }
    return r.ok();
}

// Rounds as MulDiv does.
int MulDiv(int value, int numerator, int denominator) {
    const int64_t product = int64_t{value} * numerator;
    return static_cast<int>((product + (product >= 0 ? denominator : -denominator) / 2) /
                            denominator);
}

// The first visible control that takes the focus by tabbing.
HWND FirstTabStop(HWND dialog) {
    for (HWND h : ChildrenOf(dialog)) {
        const Window* w = WindowFromHandle(h);
        if ((w->style & WS_TABSTOP) && w->visible) {
            return h;
        }
    }
    return nullptr;
}

// What the dialog class does with a message its procedure left alone.
LRESULT DefaultDialogWork(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = WindowFromHandle(dialog);
    switch (message) {
    case WM_ACTIVATE:
        // The focus goes back to the control that had it, rather than to the dialog.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (GetFocus() && IsSelfOrChild(dialog, GetFocus()) && GetFocus() != dialog) {
                w->dialog_focus = GetFocus();
            }
            return 0;
        }
        SetFocus(IsWindow(w->dialog_focus) ? w->dialog_focus : FirstTabStop(dialog));
        return 0;
    case WM_SETFONT:
        w->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(w->font);
    case WM_CLOSE: {
        // A dialog is not destroyed by its close: it is cancelled, as by its Cancel button,
        // and its procedure decides. A disabled Cancel button refuses.
        HWND cancel = GetDlgItem(dialog, IDCANCEL);
        const Window* button = WindowFromHandle(cancel);
        if (!button || !(button->style & WS_DISABLED)) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(cancel));
        }
        return 0;
    }
    default:
        return DefWindowProcA(dialog, message, wParam, lParam);
    }
}

} // namespace

LRESULT CALLBACK DialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const Window* w = WindowFromHandle(dialog);
    if (!w) {
        return 0;
    }
    if (w->dialog_procedure) {
        const INT_PTR result = w->dialog_procedure(dialog, message, wParam, lParam);
        const bool direct =
            message == WM_INITDIALOG || message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC;
        if (direct && (result || message == WM_INITDIALOG)) {
            return result;
        }
        if (result || !IsWindow(dialog)) {
            return 0;
        }
    }
    return DefaultDialogWork(dialog, message, wParam, lParam);
}

HWND WINAPI CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND owner,
                               DLGPROC procedure, LPARAM initParam) {
    if (instance != ModuleHandle() || !procedure) {
        return nullptr;
    }
    const Resource* resource = ModuleResources().Find(RT_DIALOG, templateName);
    DialogTemplate t;
    if (!resource || !ParseTemplate(ModuleResources().Data(*resource), resource->size, &t)) {
        return nullptr;
    }

    // Dialog base units from the dialog font, measured as Windows measures them: the
    // average width of the 52 letters, rounded, and the height.
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HDC screen = GetDC(nullptr);
    SelectObject(screen, font);
    SIZE letters = {0, 0};
    GetTextExtentPoint32A(screen, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                          &letters);
    ReleaseDC(nullptr, screen);
    const int base_x = static_cast<int>((letters.cx / 26 + 1) / 2);
    const int base_y = static_cast<int>(letters.cy);
    // Position and extent, each from its own dialog units.
    auto pixels = [&](int16_t x, int16_t y, int16_t cx, int16_t cy) {
        const int left = MulDiv(x, base_x, 4), top = MulDiv(y, base_y, 8);
        return RECT{left, top, left + MulDiv(cx, base_x, 4), top + MulDiv(cy, base_y, 8)};
    };

    const RECT r = pixels(t.x, t.y, t.cx, t.cy);
    RECT origin = {0, 0, 0, 0};
    const Window* owner_window = WindowFromHandle(owner);
    if (owner_window && !(t.style & DS_ABSALIGN)) {
        origin = owner_window->Client();
    }
    HWND dialog = CreateWindowExA(t.ex_style, MAKEINTRESOURCEA(kDialogClassAtom), t.title.c_str(),
                                  t.style & ~static_cast<DWORD>(WS_VISIBLE), origin.left + r.left,
                                  origin.top + r.top, r.right - r.left, r.bottom - r.top, owner,
                                  nullptr, instance, nullptr);
    if (!dialog) {
        return nullptr;
    }
    WindowFromHandle(dialog)->dialog_procedure = procedure;
    if (t.style & DS_SETFONT) {
        SendTo(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    }
    for (const DialogItem& item : t.items) {
        const RECT c = pixels(item.x, item.y, item.cx, item.cy);
        // The 3-D look Windows gives every dialog since 4.0: a control's flat black border
        // becomes a sunken edge.
        DWORD style = item.style | WS_CHILD;
        DWORD ex_style = item.ex_style;
        if (style & WS_BORDER) {
            style &= ~static_cast<DWORD>(WS_BORDER);
            ex_style |= WS_EX_CLIENTEDGE;
        }
        LPCSTR class_name =
            item.class_atom ? MAKEINTRESOURCEA(item.class_atom) : item.class_name.c_str();
        HWND control =
            IsWindow(dialog)
                ? CreateWindowExA(ex_style, class_name, item.title.c_str(), style, c.left, c.top,
                                  c.right - c.left, c.bottom - c.top, dialog,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), instance,
                                  nullptr)
                : nullptr;
        if (!control) {
            DestroyWindow(dialog);
            return nullptr;
        }
        SendTo(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    }
    const HWND first = FirstTabStop(dialog);
    if (SendTo(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam) &&
        IsWindow(dialog)) {
        SetFocus(FirstTabStop(dialog) ? FirstTabStop(dialog) : dialog);
    }
    if ((t.style & WS_VISIBLE) && IsWindow(dialog)) {
        ShowWindow(dialog, SW_SHOWNORMAL);
    }
    return IsWindow(dialog) ? dialog : nullptr;
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int itemId, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
    HWND item = GetDlgItem(dialog, itemId);
    return item ? SendTo(item, message, wParam, lParam) : 0;
}

HWND WINAPI GetDlgItem(HWND dialog, int itemId) {
    if (!WindowFromHandle(dialog)) {
        return nullptr;
    }
    for (HWND h : ChildrenOf(dialog)) {
        if (WindowFromHandle(h)->id == static_cast<UINT_PTR>(itemId)) {
            return h;
        }
    }
    return nullptr;
}
