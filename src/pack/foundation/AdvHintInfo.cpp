#include "AdvHintInfo.h"

TAdvHintInfo::TAdvHintInfo() : FNotes(New<TStringList>()), FPicture(New<TGDIPPicture>()) {}

TAdvHintInfo::~TAdvHintInfo() = default;

void TAdvHintInfo::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TAdvHintInfo*>(Source);
    if (!other || other == this)
        return;
    FTitle = other->FTitle;
    FNotes->Assign(other->FNotes.get());
    FShowHelp = other->FShowHelp;
    FPicture->Assign(other->FPicture.get());
    FWideTitle = other->FWideTitle;
    FWideNotes = other->FWideNotes;
}

bool TAdvHintInfo::IsEmpty() const { return FTitle.empty() && FNotes->GetText().empty(); }
