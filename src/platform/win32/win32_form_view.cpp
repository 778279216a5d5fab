// The wizard window. Panels and group boxes are windows of our own class that parent their
// controls, so hiding a panel hides its page; labels and pictures have no window of their own
// and are drawn by their panel, which lets them sit transparently on the white band and the
// pictures without the repaint tricks that transparent static controls need.
#include "platform/win32/win32_form_view.h"

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>

#include <exception>

#include "platform/dynamic_library.h"
#include "wizard/access_keys.h"
#include "wizard/bitmap_check.h"

namespace {

using C = FormControl;

enum Kind : unsigned char {
  kPanel,
  kGroup,  // a framed box with a caption: GroupBox1, RadioGroup1
  kPicture,
  kLabel,
  kButton,
  kCheck,
  kComboList,
  kComboEdit,
  kEdit,
  kMemo,
  kRich,
  kProgress,
  kScratch,
};

enum Flag : unsigned char {
  kHidden = 1,
  kWrap = 2,
  kWhite = 4,     // white background (the full-height pages)
  kAutoSize = 8,  // the label takes the width of its text
  kFontHeading = 16,
  kFontTitle = 32,
  kFontSans = 48,
};
constexpr unsigned char kFontMask = 48;

struct Row {
  FormControl id;
  FormControl parent;  // Form: the window itself
  Kind kind;
  unsigned char flags;
  short x, y, w, h;
  const char* caption;
};

// In creation order, which is also the Tab order.
constexpr Row kRows[] = {
    {C::Panel1, C::Form, kPanel, kWhite, 0, 0, 500, 314, nullptr},
    {C::Image1, C::Panel1, kPicture, 0, 0, 0, 500, 314, nullptr},
    {C::Label1, C::Panel1, kLabel, kWrap | kFontHeading, 178, 18, 308, 55, nullptr},
    {C::Label2, C::Panel1, kLabel, kWrap, 178, 80, 308, 217, nullptr},
    {C::ComboLng, C::Panel1, kComboList, 0, 178, 102, 308, 21, nullptr},
    {C::CheckLaunchFile, C::Panel1, kCheck, kHidden | kWhite, 178, 184, 308, 17, nullptr},
    {C::CheckViewReadme, C::Panel1, kCheck, kHidden | kWhite, 178, 208, 308, 17, nullptr},
    {C::CheckCustomRun, C::Panel1, kCheck, kHidden | kWhite, 178, 232, 308, 17, nullptr},
    {C::RadioGroup1, C::Panel1, kGroup, kHidden | kWhite, 178, 184, 308, 73, nullptr},
    {C::Panel2, C::Form, kPanel, 0, 0, 0, 500, 314, nullptr},
    {C::Image2, C::Panel2, kPicture, 0, 1, 1, 498, 55, nullptr},
    {C::Text1, C::Panel2, kLabel, kFontTitle, 24, 10, 409, 13, nullptr},
    {C::Text2, C::Panel2, kLabel, kWrap, 40, 26, 393, 27, nullptr},
    {C::P1, C::Panel2, kPanel, 0, 0, 65, 500, 240, nullptr},
    {C::Label4, C::P1, kLabel, kWrap, 40, 8, 420, 33, nullptr},
    {C::RichEdit1, C::P1, kRich, 0, 40, 48, 420, 161, nullptr},
    {C::Label11, C::P1, kLabel, kWrap, 40, 213, 420, 26, nullptr},
    {C::CheckBox1, C::P1, kCheck, 0, 40, 220, 420, 18, "I accept the agreement"},
    {C::P2, C::Panel2, kPanel, 0, 0, 65, 500, 240, nullptr},
    {C::Label18, C::P2, kLabel, kWrap, 40, 8, 420, 25, nullptr},
    {C::RichEdit2, C::P2, kRich, 0, 40, 40, 420, 193, nullptr},
    {C::P3, C::Panel2, kPanel, 0, 0, 65, 500, 240, nullptr},
    {C::Label5, C::P3, kLabel, kWrap, 40, 8, 420, 27, nullptr},
    {C::LUser, C::P3, kLabel, kAutoSize, 40, 40, 0, 13, nullptr},
    {C::EUser, C::P3, kEdit, 0, 40, 56, 420, 21, nullptr},
    {C::LCompany, C::P3, kLabel, kAutoSize, 40, 88, 0, 13, nullptr},
    {C::ECompany, C::P3, kEdit, 0, 40, 104, 420, 21, nullptr},
    {C::LCustomInfo, C::P3, kLabel, kAutoSize, 40, 136, 0, 13, nullptr},
    {C::ECustomInfo, C::P3, kEdit, 0, 40, 152, 420, 21, nullptr},
    {C::P4, C::Panel2, kPanel, 0, 0, 65, 500, 240, nullptr},
    {C::Label10, C::P4, kLabel, kWrap, 96, 10, 361, 39, nullptr},
    {C::Label6, C::P4, kLabel, kWrap, 40, 56, 420, 33, nullptr},
    {C::GroupBox1, C::P4, kGroup, 0, 40, 96, 420, 63, nullptr},
    {C::Edit1, C::GroupBox1, kEdit, kFontSans, 15, 24, 304, 21, nullptr},
    {C::Button4, C::GroupBox1, kButton, 0, 331, 23, 75, 23, nullptr},
    {C::LSpaceRequired, C::P4, kLabel, 0, 40, 200, 420, 13, nullptr},
    {C::LSpaceFree, C::P4, kLabel, 0, 40, 224, 420, 13, nullptr},
    {C::P5, C::Panel2, kPanel, 0, 0, 65, 500, 240, nullptr},
    {C::Label3, C::P5, kLabel, kWrap, 96, 5, 361, 44, nullptr},
    {C::ComboBox1, C::P5, kComboEdit, 0, 40, 64, 420, 21, nullptr},
    {C::CheckBox2, C::P5, kCheck, 0, 40, 96, 420, 17, nullptr},
    {C::CheckBox3, C::P5, kCheck, kHidden, 40, 144, 420, 17, nullptr},
    {C::CheckBox4, C::P5, kCheck, kHidden, 40, 176, 420, 17, nullptr},
    {C::P6, C::Panel2, kPanel, 0, 0, 65, 500, 240, nullptr},
    {C::Label7, C::P6, kLabel, kWrap, 40, 8, 420, 25, nullptr},
    {C::Memo1, C::P6, kMemo, 0, 40, 48, 420, 185, nullptr},
    {C::P7, C::Panel2, kPanel, 0, 0, 65, 500, 240, nullptr},
    {C::Label8, C::P7, kLabel, 0, 40, 8, 420, 13, "Extracting files..."},
    {C::Label14, C::P7, kLabel, 0, 40, 32, 420, 13, "File"},
    {C::ProgressBar1, C::P7, kProgress, 0, 40, 56, 420, 17, nullptr},
    {C::BtnBack, C::Form, kButton, kHidden, 256, 328, 75, 23, "< &Back"},
    {C::BtnNext, C::Form, kButton, 0, 331, 328, 75, 23, "&Next >"},
    {C::BtnCancel, C::Form, kButton, 0, 415, 328, 75, 23, "&Cancel"},
    {C::ListBox1, C::Form, kScratch, kHidden, 0, 0, 0, 0, nullptr},
};

// The labels that name a field: their access key moves the focus to it, as the form library's
// labels with a focus control do. Labels have no window of their own, so the dialog keyboard
// handling cannot find them.
struct LabelField {
  FormControl label, field;
};
constexpr LabelField kLabelFields[] = {
    {C::LUser, C::EUser}, {C::LCompany, C::ECompany}, {C::LCustomInfo, C::ECustomInfo}};

constexpr int kIdBase = 100;  // clear of IDOK and IDCANCEL, which the keyboard handling sends
constexpr int kRadioId = 90;  // the two restart choices
constexpr UINT kActivateMessage = WM_APP + 1;
constexpr char kWindowClass[] = "TSetupWizard";
constexpr char kPanelClass[] = "TSetupPanel";
constexpr char kKeyProp[] = "SetupWizardView";
constexpr char kTextProp[] = "SetupTextProc";
// The restart choices inside RadioGroup1, laid out as the group box of the form library does.
constexpr RECT kRadioPlace[2] = {{8, 14, 306, 41}, {8, 41, 306, 68}};
constexpr const char* kRadioCaptions[2] = {"Yes, I want to restart my computer now.",
                                           "No, I will restart my computer later."};
// Frames drawn around the bands of the inner pages and the button row.
constexpr int kBandHeight = 58;
constexpr int kPageHeight = 314;

Win32FormView* current = nullptr;
const char* richClass = nullptr;

int Index(FormControl control) { return static_cast<int>(control); }

const Row* RowOf(FormControl control) {
  for (const Row& row : kRows)
    if (row.id == control) return &row;
  return nullptr;
}

Kind KindOf(FormControl control) {
  const Row* row = RowOf(control);
  return row ? row->kind : kPanel;
}

bool Windowless(FormControl control) {
  Kind kind = KindOf(control);
  return control != C::Form && (kind == kLabel || kind == kPicture || kind == kScratch);
}

std::string WindowText(HWND window) {
  int length = ::GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  length = ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(length > 0 ? length : 0));
  return text;
}

// The common controls are bound at run time. The bare name is resolved through the manifest's
// common-controls 6 assembly (never the program's folder), which also gives the themed look.
void InitProgressClass() {
  HMODULE library = ::LoadLibraryA("comctl32.dll");
  if (!library) return;
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  auto init = reinterpret_cast<InitFunction>(
      reinterpret_cast<void*>(::GetProcAddress(library, "InitCommonControlsEx")));
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  if (init) init(&classes);
}

const char* LoadRichEditClass() {
  if (platform::LoadSystemLibrary("msftedit.dll")) return "RICHEDIT50W";
  if (platform::LoadSystemLibrary("riched20.dll")) return "RichEdit20A";
  return "EDIT";
}

HFONT MakeFont(int height, int weight, const char* face) {
  return ::CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

void StretchPicture(HDC dc, HBITMAP picture, int x, int y, int w, int h) {
  if (!picture) return;
  BITMAP info;
  if (!::GetObjectA(picture, sizeof info, &info)) return;
  HDC source = ::CreateCompatibleDC(dc);
  HGDIOBJ old = ::SelectObject(source, picture);
  ::SetStretchBltMode(dc, HALFTONE);
  ::SetBrushOrgEx(dc, 0, 0, nullptr);
  ::StretchBlt(dc, x, y, w, h, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  ::SelectObject(source, old);
  ::DeleteDC(source);
}

struct StreamSource {
  const std::string* data;
  size_t offset;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
  auto* source = reinterpret_cast<StreamSource*>(cookie);
  size_t left = source->data->size() - source->offset;
  size_t count = left < static_cast<size_t>(size) ? left : static_cast<size_t>(size);
  source->data->copy(reinterpret_cast<char*>(buffer), count, source->offset);
  source->offset += count;
  *read = static_cast<LONG>(count);
  return 0;
}

bool ReadWholeFile(const std::string& path, std::string& data) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  char buffer[4096];
  DWORD read = 0;
  while ((ok = ::ReadFile(file, buffer, sizeof buffer, &read, nullptr)) && read)
    data.append(buffer, read);
  ::CloseHandle(file);
  return ok;
}

}  // namespace

bool TranslateWizardMessage(MSG& message) { return current && current->PreTranslate(message); }

Win32FormView::Win32FormView() {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  InitProgressClass();
  if (!richClass) richClass = LoadRichEditClass();

  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  ::RegisterClassExA(&windowClass);
  // Panels paint their whole area themselves.
  windowClass.hbrBackground = nullptr;
  windowClass.lpszClassName = kPanelClass;
  ::RegisterClassExA(&windowClass);

  fonts_[0] = MakeFont(-11, FW_NORMAL, "Tahoma");
  fonts_[1] = MakeFont(-13, FW_BOLD, "MS Sans Serif");
  fonts_[2] = MakeFont(-11, FW_BOLD, "MS Sans Serif");
  fonts_[3] = MakeFont(-11, FW_NORMAL, "MS Sans Serif");
  white_ = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  // The fixed pictures of the destination and group pages: the system's folder icons, read
  // from the system folder's shell library only.
  char shell[MAX_PATH + 16];
  UINT length = ::GetSystemDirectoryA(shell, MAX_PATH);
  if (length && length < MAX_PATH) {
    lstrcpyA(shell + length, "\\shell32.dll");
    icons_[0] = ::ExtractIconA(instance, shell, 3);
    icons_[1] = ::ExtractIconA(instance, shell, 19);
  }

  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame{0, 0, 500, 362};
  ::AdjustWindowRectEx(&frame, style, FALSE, 0);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  window_ = ::CreateWindowExA(0, kWindowClass, "Setup", style,
                              (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                              (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                              nullptr, nullptr, instance, this);
  if (!window_) return;
  ::SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[0]), 0);
  CreateControls();
  // Keyboard cues follow the system setting until the keyboard is used, as in dialogs.
  ::SendMessageA(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
  current = this;
}

Win32FormView::~Win32FormView() {
  if (current == this) current = nullptr;
  if (window_) {
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
  for (HFONT font : fonts_)
    if (font) ::DeleteObject(font);
  for (HBITMAP picture : pictures_)
    if (picture) ::DeleteObject(picture);
  for (HICON icon : icons_)
    if (icon) ::DestroyIcon(icon);
}

void Win32FormView::CreateControls() {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  for (const Row& row : kRows) {
    Slot& slot = slots_[Index(row.id)];
    slot.visible = !(row.flags & kHidden);
    slot.place = {row.x, row.y, row.x + row.w, row.y + row.h};
    if (row.kind == kLabel) {
      if (row.caption) slot.text = row.caption;
      continue;
    }
    if (row.kind == kPicture || row.kind == kScratch) continue;

    DWORD style = WS_CHILD | (slot.visible ? WS_VISIBLE : 0);
    DWORD tabStop = WS_TABSTOP | WS_GROUP;
    DWORD extended = 0;
    const char* windowClass = "BUTTON";
    int height = row.h;
    switch (row.kind) {
      case kPanel:
      case kGroup:
        windowClass = kPanelClass;
        style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        extended = WS_EX_CONTROLPARENT;
        break;
      case kButton:
        style |= BS_PUSHBUTTON | tabStop;
        break;
      case kCheck:
        style |= BS_AUTOCHECKBOX | tabStop;
        break;
      case kComboList:
      case kComboEdit:
        windowClass = "COMBOBOX";
        style |= (row.kind == kComboList ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL) |
                 WS_VSCROLL | tabStop;
        height = 200;  // with the dropped-down list
        break;
      case kEdit:
        windowClass = "EDIT";
        style |= ES_AUTOHSCROLL | tabStop;
        extended = WS_EX_CLIENTEDGE;
        break;
      case kMemo:
        windowClass = "EDIT";
        style |= ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | tabStop;
        extended = WS_EX_CLIENTEDGE;
        break;
      case kRich:
        windowClass = richClass;
        style |= ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | tabStop;
        extended = WS_EX_CLIENTEDGE;
        break;
      case kProgress:
        windowClass = PROGRESS_CLASSA;
        break;
      default:
        break;
    }
    HWND parent = row.parent == C::Form ? window_ : slots_[Index(row.parent)].window;
    slot.window = ::CreateWindowExA(
        extended, windowClass, row.caption, style, row.x, row.y, row.w, height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdBase + Index(row.id))), instance, this);
    ::SendMessageA(slot.window, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(Index(row.id))), 0);
  }

  HWND group = slots_[Index(C::RadioGroup1)].window;
  for (int i = 0; i < 2; ++i) {
    const RECT& place = kRadioPlace[i];
    radios_[i] = ::CreateWindowExA(
        0, "BUTTON", kRadioCaptions[i],
        WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_TABSTOP | WS_GROUP : 0),
        place.left, place.top, place.right - place.left, place.bottom - place.top, group,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRadioId + i)), instance, nullptr);
    ::SendMessageA(radios_[i], WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[0]), 0);
    radioItems_.push_back(kRadioCaptions[i]);
  }
  ::SendMessageA(radios_[0], BM_SETCHECK, BST_CHECKED, 0);
  ::SendMessageA(slots_[Index(C::ProgressBar1)].window, PBM_SETRANGE, 0, MAKELPARAM(0, 100));

  // Tab and Escape leave the multi-line texts, as in the form library's memos, instead of
  // being taken by them.
  for (FormControl text : {C::RichEdit1, C::RichEdit2, C::Memo1}) {
    HWND window = slots_[Index(text)].window;
    if (!window) continue;
    ::SetPropA(window, kTextProp,
               reinterpret_cast<HANDLE>(::SetWindowLongPtrA(window, GWLP_WNDPROC,
                                                            reinterpret_cast<LONG_PTR>(TextProc))));
  }
  // Enter in these two is the form's, not the dialog navigation's.
  const FormControl keyed[2] = {C::Edit1, C::ComboLng};
  for (int i = 0; i < 2; ++i) {
    HWND window = slots_[Index(keyed[i])].window;
    if (!window) continue;
    ::SetPropA(window, kKeyProp, this);
    keyProcs_[i] = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KeyProc)));
  }
}

HFONT Win32FormView::FontOf(int index) const {
  const Row* row = RowOf(static_cast<FormControl>(index));
  int font = row ? (row->flags & kFontMask) / kFontHeading : 0;
  return fonts_[font] ? fonts_[font] : fonts_[0];
}

HWND Win32FormView::Window(FormControl control) const {
  if (control == C::Form) return window_;
  int index = Index(control);
  return index >= 0 && index < kControlCount ? slots_[index].window : nullptr;
}

LRESULT CALLBACK Win32FormView::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == WM_NCCREATE)
    ::SetWindowLongPtrA(
        window, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  auto* view = reinterpret_cast<Win32FormView*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!view) return ::DefWindowProcA(window, message, wParam, lParam);
  // No exception may unwind through Windows: report it as the form library would and go on.
  try {
    return view->Dispatch(window, message, wParam, lParam);
  } catch (const std::exception& error) {
    ::MessageBoxA(view->window_, error.what(), "Setup", MB_OK | MB_ICONERROR);
  } catch (...) {
  }
  return 0;
}

LRESULT CALLBACK Win32FormView::KeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Every read of the destination field comes through here; the property is a round trip to
  // the window system, the current view is not.
  Win32FormView* view = current;
  if (!view || (view->slots_[Index(C::Edit1)].window != window &&
                view->slots_[Index(C::ComboLng)].window != window))
    view = static_cast<Win32FormView*>(::GetPropA(window, kKeyProp));
  if (!view) return ::DefWindowProcA(window, message, wParam, lParam);
  bool list = view->slots_[Index(C::ComboLng)].window == window;
  WNDPROC original = view->keyProcs_[list ? 1 : 0];
  try {
    switch (message) {
      case WM_GETDLGCODE: {
        LRESULT code = ::CallWindowProcA(original, window, message, wParam, lParam);
        auto* pending = reinterpret_cast<MSG*>(lParam);
        if (pending && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN)
          code |= DLGC_WANTALLKEYS;
        return code;
      }
      case WM_KEYDOWN:
        // Enter that closes the dropped-down list only picks the item.
        if (list && wParam == VK_RETURN)
          view->listEnter_ = ::SendMessageA(window, CB_GETDROPPEDSTATE, 0, 0) != 0;
        break;
      case WM_CHAR:
        if (list && wParam == '\r' && view->listEnter_) {
          view->listEnter_ = false;
          return 0;
        }
        if (view->Events() &&
            view->Events()->KeyPress(list ? C::ComboLng : C::Edit1, static_cast<char>(wParam)))
          return 0;
        break;
      case WM_NCDESTROY:
        ::RemovePropA(window, kKeyProp);
        break;
      default:
        break;
    }
  } catch (const std::exception& error) {
    ::MessageBoxA(view->window_, error.what(), "Setup", MB_OK | MB_ICONERROR);
    return 0;
  } catch (...) {
    return 0;
  }
  return ::CallWindowProcA(original, window, message, wParam, lParam);
}

LRESULT CALLBACK Win32FormView::TextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto original = reinterpret_cast<WNDPROC>(::GetPropA(window, kTextProp));
  LRESULT result = original ? ::CallWindowProcA(original, window, message, wParam, lParam)
                            : ::DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_GETDLGCODE) {
    result &= ~DLGC_WANTTAB;
    auto* pending = reinterpret_cast<MSG*>(lParam);
    if (pending && pending->message == WM_KEYDOWN &&
        (pending->wParam == VK_TAB || pending->wParam == VK_ESCAPE))
      result &= ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
  } else if (message == WM_NCDESTROY) {
    ::RemovePropA(window, kTextProp);
  }
  return result;
}

LRESULT Win32FormView::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SHOWWINDOW:
      if (window == window_ && wParam) ApplyDeferred();
      break;
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC: {
      HWND parent = ::GetParent(reinterpret_cast<HWND>(lParam));
      if (parent == slots_[Index(C::Panel1)].window ||
          parent == slots_[Index(C::RadioGroup1)].window) {
        ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(white_);
      }
      break;
    }
    case WM_ERASEBKGND:
      if (window != window_) return 1;
      break;
    case WM_PRINTCLIENT:
      if (window != window_) {
        Paint(window, reinterpret_cast<HDC>(wParam));
        return 0;
      }
      break;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      Paint(window, dc);
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_ACTIVATE:
      if (window != window_) break;
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        lastFocus_ = ::IsChild(window_, focus) ? focus : nullptr;
        return 0;
      }
      // The first activation shows the first page, once the window is on screen.
      if (!activated_) {
        activated_ = true;
        ::PostMessageA(window_, kActivateMessage, 0, 0);
      }
      if (lastFocus_ && ::IsWindow(lastFocus_)) {
        ::SetFocus(lastFocus_);
        return 0;
      }
      break;
    case kActivateMessage:
      if (Events()) Events()->Activate();
      return 0;
    case WM_CLOSE:
      // A multi-line edit asks its parent to close on Escape, as it would a dialog: that is
      // Escape for the wizard, never the end of a panel.
      if (window != window_)
        Command(IDCANCEL, 0, nullptr);
      else
        Close();
      return 0;
    case WM_ENDSESSION:
      // The session ends whatever the wizard shows; the form cleans up and ends the process.
      if (window == window_ && wParam && Events()) Events()->EndSession();
      return 0;
    case WM_NCDESTROY:
      if (window == window_) window_ = nullptr;
      break;
    default:
      break;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

void Win32FormView::Paint(HWND panel, HDC dc) {
  RECT area;
  ::GetClientRect(panel, &area);
  if (panel == window_) {
    RECT bevel{0, kPageHeight, area.right, kPageHeight + 2};
    ::DrawEdge(dc, &bevel, EDGE_ETCHED, BF_TOP);
    return;
  }
  FormControl id = static_cast<FormControl>(::GetDlgCtrlID(panel) - kIdBase);
  const Row* row = RowOf(id);
  if (!row) return;
  ::FillRect(dc, &area, row->flags & kWhite ? white_ : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  ::SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = ::SelectObject(dc, fonts_[0]);

  if (id == C::Panel1 && slots_[Index(C::Image1)].visible)
    StretchPicture(dc, pictures_[0], 0, 0, 500, kPageHeight);
  if (id == C::Panel2) {
    RECT band{0, 0, area.right, kBandHeight};
    ::FillRect(dc, &band, white_);
    RECT bevel{0, kBandHeight, area.right, kBandHeight + 2};
    ::DrawEdge(dc, &bevel, EDGE_ETCHED, BF_TOP);
    if (slots_[Index(C::Image2)].visible) StretchPicture(dc, pictures_[1], 1, 1, 498, 55);
  }
  if ((id == C::P4 || id == C::P5) && icons_[id == C::P5])
    ::DrawIconEx(dc, 40, 8, icons_[id == C::P5], 32, 32, 0, nullptr, DI_NORMAL);

  UINT prefix = (::SendMessageA(panel, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
  if (row->kind == kGroup) {
    // The frame of a group box, its caption on the line.
    std::string caption = WindowText(panel);
    RECT frame = area;
    frame.top = 6;
    ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption.empty()) {
      RECT text{8, 0, area.right - 8, 13};
      ::DrawTextA(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_CALCRECT | prefix);
      text.right += 4;
      ::FillRect(dc, &text,
                 row->flags & kWhite ? white_ : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
      text.left += 2;
      ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
      ::DrawTextA(dc, caption.c_str(), -1, &text, DT_SINGLELINE | prefix);
    }
  }

  for (const Row& label : kRows) {
    const Slot& slot = slots_[Index(label.id)];
    if (label.kind != kLabel || label.parent != id || !slot.visible || slot.text.empty()) continue;
    ::SelectObject(dc, FontOf(Index(label.id)));
    ::SetTextColor(dc, ::GetSysColor(slot.enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    RECT place = slot.place;
    ::DrawTextA(dc, slot.text.c_str(), static_cast<int>(slot.text.size()), &place,
                DT_EXPANDTABS | (label.flags & kWrap ? DT_WORDBREAK : 0) | prefix);
  }
  ::SelectObject(dc, oldFont);
}

void Win32FormView::Command(WORD id, WORD code, HWND) {
  if (id == IDCANCEL) {
    // Escape acts as Cancel while Cancel can be clicked.
    if (CanFocus(C::BtnCancel)) Clicked(C::BtnCancel);
    return;
  }
  if (id == IDOK) {
    // Enter outside the fields that handle it clicks the focused push button.
    HWND focus = ::GetFocus();
    for (FormControl button : {C::BtnBack, C::BtnNext, C::BtnCancel, C::Button4})
      if (focus && focus == slots_[Index(button)].window) return Clicked(button);
    return;
  }
  if (id == kRadioId || id == kRadioId + 1) {
    if (code == BN_CLICKED) Clicked(C::RadioGroup1);
    return;
  }
  int index = id - kIdBase;
  if (index < 0 || index >= kControlCount) return;
  auto control = static_cast<FormControl>(index);
  Kind kind = KindOf(control);
  if (code == BN_CLICKED && (kind == kButton || kind == kCheck)) Clicked(control);
  if (code == CBN_SELCHANGE && control == C::ComboLng && Events()) Events()->Change(control);
}

void Win32FormView::Clicked(FormControl control) {
  if (Events()) Events()->Click(control);
}

bool Win32FormView::CloseRequested() {
  if (closing_) return false;
  closing_ = true;
  bool agreed = true;
  try {
    agreed = !Events() || Events()->CloseQuery();
  } catch (...) {
    closing_ = false;
    throw;
  }
  closing_ = false;
  return agreed;
}

// Closing hides the window and ends the wizard's message loop; the controls stay readable
// until the view goes away, as the form's do after it is closed.
void Win32FormView::Close() {
  if (!window_ || !CloseRequested()) return;
  ::ShowWindow(window_, SW_HIDE);
  ::PostQuitMessage(0);
}

bool Win32FormView::PreTranslate(MSG& message) {
  if (!window_ || !::IsWindowVisible(window_)) return false;
  if (message.hwnd != window_ && !::IsChild(window_, message.hwnd)) return false;
  if (LabelAccessKey(message)) return true;
  return ::IsDialogMessageA(window_, &message);
}

// Alt with a label's access key, or the key alone where the focused control takes no
// characters, as the dialog handling treats the buttons' keys: the label's field takes the
// focus with its text selected, so typing replaces it.
bool Win32FormView::LabelAccessKey(const MSG& message) {
  if (message.message != WM_SYSCHAR && message.message != WM_CHAR) return false;
  if (message.message == WM_CHAR) {
    LRESULT code = ::SendMessageA(message.hwnd, WM_GETDLGCODE, message.wParam,
                                  reinterpret_cast<LPARAM>(&message));
    if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  }
  auto upper = [](char c) {
    return static_cast<char>(reinterpret_cast<UINT_PTR>(::CharUpperA(
        reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(static_cast<unsigned char>(c))))));
  };
  char key = upper(static_cast<char>(message.wParam));
  for (const LabelField& pair : kLabelFields) {
    const Slot& label = slots_[Index(pair.label)];
    char accessKey = AccessKey(label.text);
    if (!label.visible || !accessKey || upper(accessKey) != key || !CanFocus(pair.field)) continue;
    HWND field = Window(pair.field);
    ::SetFocus(field);
    ::SendMessageA(field, EM_SETSEL, 0, -1);
    return true;
  }
  return false;
}

bool Win32FormView::LoadPicture(FormControl control, const std::string& path) {
  if (control != C::Image1 && control != C::Image2) return false;
  if (!IsReadableBitmapFile(path)) return false;
  auto picture = static_cast<HBITMAP>(
      ::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (!picture) return false;
  HBITMAP& slot = pictures_[control == C::Image2];
  if (slot) ::DeleteObject(slot);
  slot = picture;
  ::InvalidateRect(slots_[Index(control == C::Image1 ? C::Panel1 : C::Panel2)].window, nullptr,
                   FALSE);
  return true;
}

bool Win32FormView::LoadRichText(FormControl control, const std::string& path) {
  HWND window = Window(control);
  std::string data;
  if (!window || !ReadWholeFile(path, data)) return false;
  if (richClass && std::string(richClass) == "EDIT") {
    ::SetWindowTextA(window, data.c_str());
    return true;
  }
  // Text that is not rich text is shown as it stands.
  WPARAM format = data.compare(0, 5, "{\\rtf") == 0 ? SF_RTF : SF_TEXT;
  StreamSource source{&data, 0};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadStream};
  ::SendMessageA(window, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
  return stream.dwError == 0;
}

std::string Win32FormView::Text(FormControl control) const {
  if (control == C::Form) return window_ ? WindowText(window_) : std::string();
  if (Windowless(control)) return slots_[Index(control)].text;
  HWND window = Window(control);
  // A control the system would not create keeps what it was given: the destination must not
  // read as empty, which would install into the current drive's root.
  return window ? WindowText(window) : slots_[Index(control)].text;
}

bool Win32FormView::OnScreen() const { return window_ && ::IsWindowVisible(window_); }

// What was set while the form was not on screen, brought up to date as it is shown. A form
// that is never shown (a silent run) draws nothing at all.
void Win32FormView::ApplyDeferred() {
  for (int index = 0; index < kControlCount; ++index) {
    Slot& slot = slots_[index];
    if (slot.sizeStale) {
      slot.sizeStale = false;
      SizeLabel(index);
    }
    if (slot.positionPending && slot.window) {
      slot.positionPending = false;
      ::SendMessageA(slot.window, PBM_SETPOS, static_cast<WPARAM>(slot.position), 0);
    }
  }
}

void Win32FormView::SetText(FormControl control, const std::string& text) {
  if (control == C::Form) {
    if (window_) ::SetWindowTextA(window_, text.c_str());
    return;
  }
  int index = Index(control);
  if (index < 0 || index >= kControlCount) return;
  Kind kind = KindOf(control);
  if (kind == kLabel) {
    Slot& slot = slots_[index];
    if (slot.text == text) return;
    slot.text = text;
    if (!OnScreen()) {
      slot.sizeStale = true;
      return;
    }
    // One redraw of where the old and the new text stand.
    RECT before = slot.place;
    SizeLabel(index);
    RECT both;
    ::UnionRect(&both, &before, &slot.place);
    const Row* row = RowOf(control);
    HWND parent = row ? slots_[Index(row->parent)].window : nullptr;
    if (parent) ::InvalidateRect(parent, &both, FALSE);
    return;
  }
  HWND window = slots_[index].window;
  slots_[index].text = text;
  if (!window) return;
  if (kind == kComboList) {
    // A drop-down list shows only its items: the text selects the item that matches it.
    LRESULT item = ::SendMessageA(window, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageA(window, CB_SETCURSEL, item == CB_ERR ? static_cast<WPARAM>(-1) : item, 0);
    return;
  }
  ::SetWindowTextA(window, text.c_str());
  if (kind == kGroup) ::InvalidateRect(window, nullptr, FALSE);
}

void Win32FormView::SizeLabel(int index) {
  const Row* row = RowOf(static_cast<FormControl>(index));
  if (!row || !(row->flags & kAutoSize)) return;
  Slot& slot = slots_[index];
  HWND parent = slots_[Index(row->parent)].window;
  RECT size{0, 0, 0, 0};
  if (!slot.text.empty()) {
    HDC dc = ::GetDC(parent);
    HGDIOBJ old = ::SelectObject(dc, FontOf(index));
    ::DrawTextA(dc, slot.text.c_str(), static_cast<int>(slot.text.size()), &size,
                DT_CALCRECT | DT_EXPANDTABS);
    ::SelectObject(dc, old);
    ::ReleaseDC(parent, dc);
  }
  slot.place.right = slot.place.left + size.right;
  slot.place.bottom = slot.place.top + (size.bottom > row->h ? size.bottom : row->h);
}

void Win32FormView::RedrawLabel(int index) {
  const Row* row = RowOf(static_cast<FormControl>(index));
  if (!row || !OnScreen()) return;
  if (slots_[index].sizeStale) {
    slots_[index].sizeStale = false;
    SizeLabel(index);
  }
  HWND parent = slots_[Index(row->parent)].window;
  if (parent) ::InvalidateRect(parent, &slots_[index].place, FALSE);
}

std::vector<std::string> Win32FormView::Items(FormControl control) const {
  if (control == C::RadioGroup1) return radioItems_;
  if (control == C::ListBox1) return scratchItems_;
  std::vector<std::string> items;
  HWND window = Window(control);
  if (!window) return items;
  LRESULT count = ::SendMessageA(window, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = ::SendMessageA(window, CB_GETLBTEXTLEN, i, 0);
    std::string item(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
    length = ::SendMessageA(window, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    item.resize(length > 0 ? static_cast<size_t>(length) : 0);
    items.push_back(item);
  }
  return items;
}

void Win32FormView::ClearItems(FormControl control) {
  if (control == C::RadioGroup1) {
    radioItems_.clear();
    for (HWND radio : radios_) {
      ::SendMessageA(radio, BM_SETCHECK, BST_UNCHECKED, 0);
      ::ShowWindow(radio, SW_HIDE);
    }
    return;
  }
  if (control == C::ListBox1) {
    scratchItems_.clear();
    scratchIndex_ = -1;
    return;
  }
  HWND window = Window(control);
  if (!window) return;
  // An editable box keeps what it shows when its list is emptied.
  std::string text = control == C::ComboBox1 ? WindowText(window) : std::string();
  ::SendMessageA(window, CB_RESETCONTENT, 0, 0);
  if (control == C::ComboBox1) ::SetWindowTextA(window, text.c_str());
}

void Win32FormView::AddItem(FormControl control, const std::string& item) {
  if (control == C::RadioGroup1) {
    // The form shows two choices; further items are kept but have no button.
    size_t index = radioItems_.size();
    radioItems_.push_back(item);
    if (index < 2) {
      ::SetWindowTextA(radios_[index], item.c_str());
      ::ShowWindow(radios_[index], SW_SHOWNA);
    }
    return;
  }
  if (control == C::ListBox1) {
    scratchItems_.push_back(item);
    return;
  }
  if (HWND window = Window(control))
    ::SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int Win32FormView::RadioIndex() const {
  for (int i = 0; i < 2; ++i)
    if (::SendMessageA(radios_[i], BM_GETCHECK, 0, 0) == BST_CHECKED) return i;
  return -1;
}

int Win32FormView::ItemIndex(FormControl control) const {
  if (control == C::RadioGroup1) return RadioIndex();
  if (control == C::ListBox1) return scratchIndex_;
  HWND window = Window(control);
  if (!window) return -1;
  LRESULT index = ::SendMessageA(window, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

void Win32FormView::SetItemIndex(FormControl control, int index) {
  if (control == C::RadioGroup1) {
    for (int i = 0; i < 2; ++i)
      ::SendMessageA(
          radios_[i], BM_SETCHECK,
          i == index && i < static_cast<int>(radioItems_.size()) ? BST_CHECKED : BST_UNCHECKED, 0);
    return;
  }
  if (control == C::ListBox1) {
    scratchIndex_ = index >= 0 && index < static_cast<int>(scratchItems_.size()) ? index : -1;
    return;
  }
  HWND window = Window(control);
  if (!window) return;
  LRESULT count = ::SendMessageA(window, CB_GETCOUNT, 0, 0);
  bool valid = index >= 0 && index < count;
  // Clearing the selection of the editable box leaves its text alone.
  std::string text = control == C::ComboBox1 && !valid ? WindowText(window) : std::string();
  ::SendMessageA(window, CB_SETCURSEL, valid ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1),
                 0);
  if (control == C::ComboBox1 && !valid) ::SetWindowTextA(window, text.c_str());
}

// A control's own visibility, whatever its panel shows: the page logic reads back what it set.
bool Win32FormView::Visible(FormControl control) const {
  if (control == C::Form) return window_ && ::IsWindowVisible(window_);
  int index = Index(control);
  if (index < 0 || index >= kControlCount) return false;
  if (Windowless(control)) return slots_[index].visible;
  HWND window = slots_[index].window;
  return window && (::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE);
}

void Win32FormView::SetVisible(FormControl control, bool visible) {
  if (control == C::Form) {
    if (window_) ::ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
    return;
  }
  int index = Index(control);
  if (index < 0 || index >= kControlCount) return;
  if (Windowless(control)) {
    if (slots_[index].visible == visible) return;
    slots_[index].visible = visible;
    if (KindOf(control) == kLabel) RedrawLabel(index);
    if (KindOf(control) == kPicture)
      ::InvalidateRect(slots_[Index(control == C::Image1 ? C::Panel1 : C::Panel2)].window, nullptr,
                       FALSE);
    return;
  }
  HWND window = slots_[index].window;
  if (!window) return;
  if (!visible) DropFocusFrom(window);
  ::ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
}

// A hidden or disabled control must not keep the keyboard: give it to the window, from where
// Tab finds the next control that can take it.
void Win32FormView::DropFocusFrom(HWND window) {
  HWND focus = ::GetFocus();
  if (focus && (focus == window || ::IsChild(window, focus))) ::SetFocus(window_);
}

bool Win32FormView::Checked(FormControl control) const {
  HWND window = Window(control);
  return window && ::SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32FormView::SetChecked(FormControl control, bool checked) {
  if (HWND window = Window(control))
    ::SendMessageA(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32FormView::Enabled(FormControl control) const {
  int index = Index(control);
  if (control != C::Form && Windowless(control)) return slots_[index].enabled;
  HWND window = Window(control);
  return window && ::IsWindowEnabled(window);
}

void Win32FormView::SetEnabled(FormControl control, bool enabled) {
  int index = Index(control);
  if (control != C::Form && Windowless(control)) {
    slots_[index].enabled = enabled;
    if (KindOf(control) == kLabel) RedrawLabel(index);
    return;
  }
  HWND window = Window(control);
  if (!window) return;
  if (!enabled) DropFocusFrom(window);
  ::EnableWindow(window, enabled);
  if (control == C::RadioGroup1)
    for (HWND radio : radios_) ::EnableWindow(radio, enabled);
}

int Win32FormView::Position(FormControl control) const {
  int index = Index(control);
  return index >= 0 && index < kControlCount ? slots_[index].position : 0;
}

// The bar is only ever moved from here, so its slot knows where it stands: the same position
// twice costs nothing, and a form not on screen takes it when it is shown.
void Win32FormView::SetPosition(FormControl control, int position) {
  int index = Index(control);
  if (index < 0 || index >= kControlCount) return;
  Slot& slot = slots_[index];
  if (slot.position == position) return;
  slot.position = position;
  if (!slot.window) return;
  if (!OnScreen()) {
    slot.positionPending = true;
    return;
  }
  slot.positionPending = false;
  ::SendMessageA(slot.window, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

ControlBounds Win32FormView::Bounds(FormControl control) const {
  int index = Index(control);
  if (control == C::Form || index < 0 || index >= kControlCount) return {};
  RECT place = slots_[index].place;
  if (HWND window = slots_[index].window) {
    ::GetWindowRect(window, &place);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&place), 2);
  }
  return {static_cast<int>(place.left), static_cast<int>(place.top),
          static_cast<int>(place.right - place.left), static_cast<int>(place.bottom - place.top)};
}

void Win32FormView::SetBounds(FormControl control, const ControlBounds& bounds) {
  int index = Index(control);
  if (control == C::Form || index < 0 || index >= kControlCount) return;
  Slot& slot = slots_[index];
  if (HWND window = slot.window) {
    Kind kind = KindOf(control);
    // A combo box's window height includes its dropped-down list.
    int height = kind == kComboList || kind == kComboEdit ? 200 : bounds.height;
    ::SetWindowPos(window, nullptr, bounds.left, bounds.top, bounds.width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  RedrawLabel(index);
  slot.place = {bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height};
  SizeLabel(index);
  RedrawLabel(index);
}

// As in the form library: the control and every window around it are shown and enabled.
bool Win32FormView::CanFocus(FormControl control) const {
  if (control == C::Form || Windowless(control)) return false;
  for (HWND window = Window(control); window; window = ::GetParent(window)) {
    if (!(::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) || !::IsWindowEnabled(window))
      return false;
    if (window == window_) return true;
  }
  return false;
}

void Win32FormView::SetFocus(FormControl control) {
  HWND window = Window(control);
  if (control == C::RadioGroup1) {
    int index = RadioIndex();
    window = radios_[index < 0 ? 0 : index];
  }
  if (window) ::SetFocus(window);
}
