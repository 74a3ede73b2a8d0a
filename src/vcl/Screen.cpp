// TScreen: cursors, resolution, the forms and the focus, system fonts and
// monitors.
#include "Forms.h"
#include <algorithm>

namespace {

struct StandardCursor {
    TCursor cursor;
    const wchar_t* id;
};
// The platform's cursors stand in for the library's own drag and split cursors.
const StandardCursor standardCursors[] = {
    {crDefault, IDC_ARROW},   {crArrow, IDC_ARROW},       {crCross, IDC_CROSS},
    {crIBeam, IDC_IBEAM},     {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS},
    {crSizeNWSE, IDC_SIZENWSE}, {crSizeWE, IDC_SIZEWE},   {crUpArrow, IDC_UPARROW},
    {crHourGlass, IDC_WAIT},  {crDrag, IDC_ARROW},        {crNoDrop, IDC_NO},
    {crHSplit, IDC_SIZEWE},   {crVSplit, IDC_SIZENS},     {crMultiDrag, IDC_ARROW},
    {crSQLWait, IDC_WAIT},    {crNo, IDC_NO},             {crAppStart, IDC_APPSTARTING},
    {crHelp, IDC_HELP},       {crHandPoint, IDC_HAND},    {crSizeAll, IDC_SIZEALL},
};

void FontFromLogFont(TFont* font, const LOGFONTW& lf)
{
    font->SetName(lf.lfFaceName);
    font->SetHeight(lf.lfHeight);
    font->SetCharset(lf.lfCharSet);
    TFontStyles style;
    if (lf.lfWeight >= FW_BOLD)
        style << fsBold;
    if (lf.lfItalic)
        style << fsItalic;
    if (lf.lfUnderline)
        style << fsUnderline;
    if (lf.lfStrikeOut)
        style << fsStrikeOut;
    font->SetStyle(style);
}

int CALLBACK CollectFontFamily(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM data)
{
    auto* list = reinterpret_cast<std::vector<String>*>(data);
    // Vertical variants ("@Name") are the same family turned on its side.
    if (lf->lfFaceName[0] != L'@')
        list->push_back(lf->lfFaceName);
    return 1;
}

BOOL CALLBACK CollectMonitor(HMONITOR mon, HDC, LPRECT, LPARAM data)
{
    reinterpret_cast<std::vector<HMONITOR>*>(data)->push_back(mon);
    return TRUE;
}

} // namespace

RECT TMonitor::BoundsRect() const
{
    MONITORINFO mi{sizeof(mi)};
    GetMonitorInfoW(handle_, &mi);
    return mi.rcMonitor;
}

RECT TMonitor::WorkareaRect() const
{
    MONITORINFO mi{sizeof(mi)};
    GetMonitorInfoW(handle_, &mi);
    return mi.rcWork;
}

bool TMonitor::Primary() const
{
    MONITORINFO mi{sizeof(mi)};
    GetMonitorInfoW(handle_, &mi);
    return (mi.dwFlags & MONITORINFOF_PRIMARY) != 0;
}

// ---------------------------------------------------------------------------
TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner)
{
    pixelsPerInch_ = ScreenPixelsPerInch();
    menuFont_.reset(New<TFont>());
    hintFont_.reset(New<TFont>());
    iconFont_.reset(New<TFont>());
    ResetFonts();
}

TScreen::~TScreen()
{
    for (HCURSOR c : ownedCursors_)
        DestroyCursor(c);
}

void TScreen::ResetFonts()
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
        FontFromLogFont(menuFont_.get(), ncm.lfMenuFont);
        FontFromLogFont(hintFont_.get(), ncm.lfStatusFont);
    }
    hintFont_->SetColor(clInfoText);
    LOGFONTW lf{};
    if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0))
        FontFromLogFont(iconFont_.get(), lf);
}

TStrings* TScreen::Fonts()
{
    if (!fonts_) {
        std::vector<String> names;
        LOGFONTW lf{};
        lf.lfCharSet = DEFAULT_CHARSET;
        TWindowDC dc;
        EnumFontFamiliesExW(dc.Get(), &lf, CollectFontFamily, reinterpret_cast<LPARAM>(&names), 0);
        fonts_.reset(New<TStringList>());
        fonts_->SetSorted(true);
        fonts_->Duplicates = dupIgnore;
        for (const String& n : names)
            fonts_->Add(n);
    }
    return fonts_.get();
}

void TScreen::SetCursor(TCursor value)
{
    cursor_ = value;
    if (value == crDefault) {
        // Let the window under the mouse choose its cursor again.
        POINT p;
        GetCursorPos(&p);
        if (HWND wnd = WindowFromPoint(p))
            SendMessageW(wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    } else {
        ::SetCursor(GetCursors(value));
    }
}

HCURSOR TScreen::GetCursors(int index)
{
    auto it = cursors_.find(index);
    if (it != cursors_.end())
        return it->second;
    if (index == crNone)
        return nullptr;
    for (const StandardCursor& c : standardCursors)
        if (c.cursor == index)
            return LoadCursorW(nullptr, c.id);
    return LoadCursorW(nullptr, IDC_ARROW);
}

void TScreen::SetCursors(int index, HCURSOR value)
{
    // Cursors set here (often loaded from the program's resources) belong
    // to the screen from now on.
    auto it = cursors_.find(index);
    if (it != cursors_.end() && it->second != value) {
        auto owned = std::find(ownedCursors_.begin(), ownedCursors_.end(), it->second);
        if (owned != ownedCursors_.end()) {
            DestroyCursor(*owned);
            ownedCursors_.erase(owned);
        }
    }
    if (!value) {
        cursors_.erase(index);
        return;
    }
    cursors_[index] = value;
    if (std::find(ownedCursors_.begin(), ownedCursors_.end(), value) == ownedCursors_.end())
        ownedCursors_.push_back(value);
}

RECT TScreen::DesktopRect() const
{
    return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

RECT TScreen::WorkAreaRect() const
{
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

void TScreen::AddForm(TCustomForm* form)
{
    forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form)
{
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (focusedForm_ == form)
        focusedForm_ = nullptr;
    if (activeForm_ == form)
        SetFocused(nullptr, nullptr);
}

void TScreen::SetFocused(TCustomForm* form, TWinControl* control)
{
    focusedForm_ = form;
    if (form && activeForm_ != form) {
        activeForm_ = form;
        // The active form goes first in the list, as the z order would have it.
        auto it = std::find(forms_.begin(), forms_.end(), form);
        if (it != forms_.end())
            std::rotate(forms_.begin(), it, it + 1);
        if (OnActiveFormChange)
            OnActiveFormChange(this);
    }
    if (!form && activeForm_ && std::find(forms_.begin(), forms_.end(), activeForm_) == forms_.end())
        activeForm_ = nullptr;
    if (activeControl_ != control) {
        activeControl_ = control;
        if (OnActiveControlChange)
            OnActiveControlChange(this);
    }
}

// --- monitors -----------------------------------------------------------------------
void TScreen::GetMonitors()
{
    std::vector<HMONITOR> handles;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&handles));
    monitors_.clear();
    for (std::size_t i = 0; i < handles.size(); ++i)
        monitors_.push_back(std::make_unique<TMonitor>(handles[i], static_cast<int>(i)));
}

int TScreen::MonitorCount()
{
    if (monitors_.empty())
        GetMonitors();
    return static_cast<int>(monitors_.size());
}

TMonitor* TScreen::Monitors(int index)
{
    if (index < 0 || index >= MonitorCount())
        throw EListError(L"Monitor index out of bounds (" + IntToStr(index) + L")");
    return monitors_[static_cast<std::size_t>(index)].get();
}

TMonitor* TScreen::FindMonitor(HMONITOR h)
{
    if (!h)
        return nullptr;
    for (int pass = 0; pass < 2; ++pass) {
        for (auto& m : monitors_)
            if (m->GetHandle() == h)
                return m.get();
        // Displays come and go; read them again once.
        GetMonitors();
    }
    return nullptr;
}

static DWORD MonitorFlag(TMonitorDefaultTo def)
{
    switch (def) {
    case mdNull: return MONITOR_DEFAULTTONULL;
    case mdPrimary: return MONITOR_DEFAULTTOPRIMARY;
    default: return MONITOR_DEFAULTTONEAREST;
    }
}

TMonitor* TScreen::MonitorFromPoint(POINT p, TMonitorDefaultTo def)
{
    return FindMonitor(::MonitorFromPoint(p, MonitorFlag(def)));
}

TMonitor* TScreen::MonitorFromWindow(HWND wnd, TMonitorDefaultTo def)
{
    return FindMonitor(::MonitorFromWindow(wnd, MonitorFlag(def)));
}

TMonitor* TScreen::MonitorFromRect(const RECT& r, TMonitorDefaultTo def)
{
    return FindMonitor(::MonitorFromRect(&r, MonitorFlag(def)));
}
