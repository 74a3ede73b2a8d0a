// ComCtrls: the platform's rich edit as a memo whose content streams in and
// out as RTF.
#pragma once

#include "StdCtrls.h"

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
