// Connection, command, data sets, fields and data source of the ADO stand-in.
#include "ADODB.h"
#include "ScopeExit.h"
#include <algorithm>

namespace {

const wchar_t kDirectoryProvider[] = L"ADsDSOObject";

// Provider properties of a command and their defaults; a page size of 0
// asks for everything in one answer.
const struct {
    const wchar_t* name;
    int value;
} kCommandProperties[] = {
    {L"Page Size", 0},
};

void Unlink(std::vector<TField*>& list, const TComponent* item)
{
    std::erase_if(list, [item](TField* field) { return field == item; });
}

// Points a link of self at value, to be told when value is freed.
template <class T>
void Link(TComponent* self, T*& link, T* value)
{
    if (link == value)
        return;
    if (link)
        self->RemoveFreeNotification(link);
    link = value;
    if (link)
        self->FreeNotification(link);
}

// Clears a link whose component is being freed.
template <class T>
void Forget(T*& link, const TComponent* gone, TOperation operation)
{
    if (operation == opRemove && gone == link)
        link = nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// TADORecordset

TADORecordset::TADORecordset(std::vector<String> FieldNames) : fieldNames_(std::move(FieldNames)) {}

const String& TADORecordset::FieldName(int Index) const
{
    return fieldNames_.at(static_cast<std::size_t>(Index));
}

int TADORecordset::FieldIndex(const String& Name) const
{
    for (int i = 0; i < FieldCount(); ++i)
        if (SameText(fieldNames_[static_cast<std::size_t>(i)], Name))
            return i;
    return -1;
}

const std::optional<String>& TADORecordset::Value(int Record, int Field) const
{
    return records_.at(static_cast<std::size_t>(Record)).at(static_cast<std::size_t>(Field));
}

void TADORecordset::AddRecord(std::vector<std::optional<String>> Values)
{
    Values.resize(fieldNames_.size());
    records_.push_back(std::move(Values));
}

// ---------------------------------------------------------------------------
// TADOConnection

TADOConnection::TADOConnection(TComponent* AOwner) : TComponent(AOwner) {}

void TADOConnection::Open()
{
    if (connected_)
        return;
    if (!SameText(provider_, kDirectoryProvider))
        throw EOleException(L"Provider cannot be found. It may not be properly installed. (" +
                            provider_ + L")");
    connected_ = true;
}

void TADOConnection::Close() { connected_ = false; }

void TADOConnection::SetConnected(bool value)
{
    if (value)
        Open();
    else
        Close();
}

void TADOConnection::SetProvider(const String& value)
{
    if (connected_)
        throw EDatabaseError(L"Operation not allowed when the connection is open");
    provider_ = value;
}

TADORecordsetPtr TADOConnection::Execute(TADOCommand* Command)
{
    Open();
    String text = Command->GetCommandText();
    if (OnWillExecute)
        OnWillExecute(this, text, Command);
    TDirectoryQuery query = ParseDirectoryQuery(text);
    return RunDirectoryQuery(query, Command->Properties(L"Page Size").GetValue(),
                             Command->GetCommandTimeout(), connectionTimeout_);
}

// ---------------------------------------------------------------------------
// TADOCommand

TADOCommand::TADOCommand(TComponent* AOwner) : TComponent(AOwner)
{
    for (const auto& p : kCommandProperties)
        properties_.emplace_back(p.name, p.value);
}

TADORecordsetPtr TADOCommand::Execute()
{
    if (!connection_)
        throw EDatabaseError(GetName() + L": Missing Connection or ConnectionString");
    return connection_->Execute(this);
}

void TADOCommand::SetConnection(TADOConnection* value) { Link(this, connection_, value); }

TADOProperty& TADOCommand::Properties(const String& Name)
{
    for (auto& p : properties_)
        if (SameText(p.GetName(), Name))
            return p;
    throw EOleException(L"Item cannot be found in the collection corresponding to the "
                        L"requested name or ordinal. (" + Name + L")");
}

void TADOCommand::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    Forget(connection_, AComponent, Operation);
}

// ---------------------------------------------------------------------------
// TField

void TField::SetDataSet(TDataSet* value)
{
    if (dataSet_ == value)
        return;
    for (TDataSet* side : {dataSet_, value})
        if (side && side->GetActive())
            side->DatabaseError(L"Cannot perform this operation on an open dataset");
    if (dataSet_) {
        dataSet_->RemoveField(this);
        RemoveFreeNotification(dataSet_);
    }
    dataSet_ = value;
    if (dataSet_) {
        dataSet_->AddField(this);
        FreeNotification(dataSet_);
    }
}

void TField::SetFieldName(const String& value)
{
    if (dataSet_ && dataSet_->GetActive())
        dataSet_->DatabaseError(L"Cannot perform this operation on an open dataset");
    fieldName_ = value;
}

const std::optional<String>& TField::CurrentValue() const
{
    if (!dataSet_)
        throw EDatabaseError(L"Field '" + fieldName_ + L"' has no dataset");
    return dataSet_->Value(column_);
}

bool TField::IsNull() const { return !CurrentValue().has_value(); }

String TField::GetAsString() const { return CurrentValue().value_or(String()); }

void TField::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    Forget(dataSet_, AComponent, Operation);
}

// ---------------------------------------------------------------------------
// TDataSet

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {}

void TDataSet::BeforeDestruction()
{
    Close();
    TComponent::BeforeDestruction();
}

void TDataSet::DatabaseError(const String& text) const
{
    throw EDatabaseError(GetName().empty() ? text : GetName() + L": " + text);
}

void TDataSet::Open()
{
    if (active_)
        return;
    recordset_ = OpenRecordset();
    // Fields that cannot be bound leave the data set closed.
    TScopeExit undo([this] {
        recordset_.reset();
        CloseRecordset();
    });
    BindFields();
    undo.Dismiss();
    record_ = 0;
    active_ = true;
}

void TDataSet::BindFields()
{
    if (fields_.empty()) {
        for (int i = 0; i < recordset_->FieldCount(); ++i) {
            auto* field = New<TWideStringField>(this);
            field->SetFieldName(recordset_->FieldName(i));
            field->SetReadOnly(true);
            field->SetDataSet(this);
            dynamicFields_.push_back(field);
        }
    }
    for (TField* field : fields_) {
        field->column_ = recordset_->FieldIndex(field->GetFieldName());
        if (field->column_ < 0)
            DatabaseError(L"Field '" + field->GetFieldName() + L"' not found");
    }
}

void TDataSet::Close()
{
    if (!active_ && !recordset_)
        return;
    active_ = false;
    recordset_.reset();
    record_ = 0;
    std::vector<TField*> dynamic;
    dynamic.swap(dynamicFields_);
    for (TField* field : dynamic)
        field->Free();
    for (TField* field : fields_)
        field->column_ = -1;
    CloseRecordset();
}

void TDataSet::SetActive(bool value)
{
    if (value)
        Open();
    else
        Close();
}

void TDataSet::First()
{
    if (!active_)
        DatabaseError(L"Cannot perform this operation on a closed dataset");
    record_ = 0;
}

void TDataSet::Next()
{
    if (!active_)
        DatabaseError(L"Cannot perform this operation on a closed dataset");
    if (record_ < recordset_->RecordCount())
        ++record_;
}

bool TDataSet::Eof() const { return !active_ || record_ >= recordset_->RecordCount(); }

int TDataSet::RecordCount() const
{
    if (!active_)
        DatabaseError(L"Cannot perform this operation on a closed dataset");
    return recordset_->RecordCount();
}

TField* TDataSet::FindField(const String& FieldName) const
{
    for (TField* field : fields_)
        if (SameText(field->GetFieldName(), FieldName))
            return field;
    return nullptr;
}

TField* TDataSet::FieldByName(const String& FieldName) const
{
    TField* field = FindField(FieldName);
    if (!field)
        DatabaseError(L"Field '" + FieldName + L"' not found");
    return field;
}

const std::optional<String>& TDataSet::Value(int column) const
{
    if (!active_)
        DatabaseError(L"Cannot perform this operation on a closed dataset");
    if (record_ >= recordset_->RecordCount())
        DatabaseError(L"No current record");
    return recordset_->Value(record_, column);
}

void TDataSet::AddField(TField* field) { fields_.push_back(field); }

void TDataSet::RemoveField(TField* field)
{
    Unlink(fields_, field);
    Unlink(dynamicFields_, field);
}

void TDataSet::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        Unlink(fields_, AComponent);
        Unlink(dynamicFields_, AComponent);
    }
}

// ---------------------------------------------------------------------------
// TADOQuery

TADOQuery::TADOQuery(TComponent* AOwner) : TDataSet(AOwner), sql_(New<TStringList>()) {}

TADOQuery::~TADOQuery() = default;

void TADOQuery::SetConnection(TADOConnection* value) { Link(this, connection_, value); }

void TADOQuery::SetRecordset(TADORecordsetPtr value)
{
    Close();
    recordset_ = std::move(value);
}

TADORecordsetPtr TADOQuery::OpenRecordset()
{
    if (!recordset_)
        DatabaseError(L"No record set to open: attach the record set a command returned");
    return recordset_;
}

void TADOQuery::Notification(TComponent* AComponent, TOperation Operation)
{
    TDataSet::Notification(AComponent, Operation);
    Forget(connection_, AComponent, Operation);
}

// ---------------------------------------------------------------------------
// TDataSource

void TDataSource::SetDataSet(TDataSet* value) { Link(this, dataSet_, value); }

void TDataSource::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    Forget(dataSet_, AComponent, Operation);
}
