// Common controls: the track bar (the platform's "msctls_trackbar32"), the date-and-time picker, the platform's
// "SysDateTimePick32" window (its value is kept while there is no window and
// handed to each new one), and the rich edit, a memo whose content streams in
// and out as RTF.
#pragma once

#include "Controls.h"
#include "StdCtrls.h"

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateFormat { dfShort, dfLong };

using TDTParseInputEvent =
    std::function<void(TObject* Sender, const String& UserString, TDateTime& DateAndTime, bool& AllowChange)>;

class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent* AOwner);

    TDateTimeKind GetKind() const { return kind_; }
    void SetKind(TDateTimeKind Value);
    TDTDateFormat GetDateFormat() const { return dateFormat_; }
    void SetDateFormat(TDTDateFormat Value);
    // Date and time of day together; Date is the whole days, Time the fraction.
    virtual TDateTime GetDateTime();
    virtual void SetDateTime(TDateTime Value);
    TDateTime GetDate();
    void SetDate(TDateTime Value);
    TDateTime GetTime();
    void SetTime(TDateTime Value);
    // The display format in the platform's picture letters; empty: the locale's.
    String GetFormat() const { return format_; }
    void SetFormat(const String& Value);
    bool GetShowCheckbox() const { return showCheckbox_; }
    void SetShowCheckbox(bool Value);
    bool GetChecked();
    void SetChecked(bool Value);
    // Typed text reaches OnUserInput (the platform's user-string mode).
    bool GetParseInput() const { return parseInput_; }
    void SetParseInput(bool Value);
    bool GetDroppedDown();

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TDTParseInputEvent OnUserInput;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    // The reflected WM_NOTIFY of the window.
    virtual void CNNotify(TMessage& Message);
    virtual void Change();
    // Puts the value into the window (no window: only stores it).
    void WriteSystemTime(TDateTime Value, bool Valid);

    TDateTime dateTime_ = 0;
    bool checked_ = true;

private:
    TDateTimeKind kind_ = dtkDate;
    TDTDateFormat dateFormat_ = dfShort;
    String format_;
    bool showCheckbox_ = false;
    bool parseInput_ = false;
    bool windowHasValue_ = false;
};

class TRichEdit : public TCustomMemo {
public:
    explicit TRichEdit(TComponent* AOwner);

    // Replaces the content with RTF text; a text that is no RTF goes in as
    // plain text. Creates the window when needed.
    void LoadRTF(const AnsiString& Rtf);
    // The content as RTF text.
    AnsiString SaveRTF();

protected:
    void CreateParams(TCreateParams& Params) override;
};

// ---------------------------------------------------------------------------
// The platform's track bar. Its values are kept while there is no window and
// handed to each new one. The position stays inside Min..Max; a Min above
// Max or a Max below Min is ignored; OnChange fires only when the position
// really moves, also when a new Min or Max moves it.
enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* AOwner);

    int GetMin() const { return min_; }
    void SetMin(int Value);
    int GetMax() const { return max_; }
    void SetMax(int Value);
    int GetPosition() const { return position_; }
    void SetPosition(int Value);
    int GetFrequency() const { return frequency_; }
    void SetFrequency(int Value);
    int GetPageSize() const { return pageSize_; }
    void SetPageSize(int Value);
    int GetLineSize() const { return lineSize_; }
    void SetLineSize(int Value);
    TTrackBarOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation Value);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void Changed();

private:
    void MoveTo(int Value);
    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
    int frequency_ = 1;
    int pageSize_ = 2;
    int lineSize_ = 1;
    TTrackBarOrientation orientation_ = trHorizontal;
};
