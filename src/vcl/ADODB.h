// ADO components of the class library stand-in. The only provider here is
// our own directory client: a command's text is a query in the directory
// provider's LDAP dialect, run through the platform's LDAP client, and the
// result comes back as a static record set of wide-string fields.
#pragma once

#include "Classes.h"
#include <memory>
#include <optional>
#include <vector>

TAVELIN_EXCEPTION(EDatabaseError, Exception)

class TADOCommand;
class TDataSet;
class TField;

// ---------------------------------------------------------------------------
// The LDAP dialect:
//   select attr[, attr...] from 'LDAP://[server[:port]/]dn' [where condition]
// A condition compares attributes with values (=, <>, <=, >=) and joins the
// comparisons with and, or, not and parentheses. Values are quoted ('' stands
// for one quote) or plain numbers; '*' in a value compared with = is a
// wildcard. Inside the path a backslash escapes the next character, so "\/"
// is a slash that belongs to a name rather than ending the server part.
struct TDirectoryQuery {
    std::vector<String> Attributes;
    String Server;  // empty: the domain's directory server, found by the locator
    int Port = 0;   // 0: the LDAP port
    String BaseDN;
    String Filter;  // LDAP filter text with every value escaped
};

// Raises EOleException for text outside the dialect.
TDirectoryQuery ParseDirectoryQuery(const String& CommandText);

// ---------------------------------------------------------------------------
// A static record set: one column per selected attribute, one record per
// object found. A value is null when the object has no such attribute.
class TADORecordset {
public:
    explicit TADORecordset(std::vector<String> FieldNames);

    int FieldCount() const { return static_cast<int>(fieldNames_.size()); }
    const String& FieldName(int Index) const;
    // The column of Name (compared without regard to case), or -1.
    int FieldIndex(const String& Name) const;

    int RecordCount() const { return static_cast<int>(records_.size()); }
    const std::optional<String>& Value(int Record, int Field) const;
    void AddRecord(std::vector<std::optional<String>> Values);

private:
    std::vector<String> fieldNames_;
    std::vector<std::vector<std::optional<String>>> records_;
};
using TADORecordsetPtr = std::shared_ptr<TADORecordset>;

// Runs a parsed query: binds with the caller's own credentials where the
// server offers integrated sign-in (anonymously where it does not), searches
// the subtree below the base, and asks for pages of PageSize objects (0: no
// paging) until the server has sent them all. Timeouts are in seconds, 0 for
// none. Raises EOleException when the directory cannot be reached or refuses.
TADORecordsetPtr RunDirectoryQuery(const TDirectoryQuery& Query, int PageSize, int CommandTimeout,
                                   int ConnectionTimeout);

// ---------------------------------------------------------------------------
// TADOConnection: the provider and the hook before every command it runs.
enum TConnectMode {
    cmUnknown, cmRead, cmWrite, cmReadWrite, cmShareDenyRead, cmShareDenyWrite,
    cmShareExclusive, cmShareDenyNone
};

class TADOConnection : public TComponent {
public:
    // Called before each command runs; may change the text or the command's
    // properties.
    using TWillExecuteEvent =
        std::function<void(TADOConnection* Connection, String& CommandText, TADOCommand* Command)>;

    explicit TADOConnection(TComponent* AOwner);

    // Opening checks the provider; the directory itself is reached per command,
    // since each query names its own path.
    void Open();
    void Close();
    bool GetConnected() const { return connected_; }
    void SetConnected(bool value);

    // Runs Command's text: the event, then the query. Opens the connection first.
    TADORecordsetPtr Execute(TADOCommand* Command);

    const String& GetProvider() const { return provider_; }
    void SetProvider(const String& value);
    bool GetLoginPrompt() const { return loginPrompt_; }
    void SetLoginPrompt(bool value) { loginPrompt_ = value; }
    TConnectMode GetMode() const { return mode_; }
    void SetMode(TConnectMode value) { mode_ = value; }
    // Seconds to wait for the directory server to answer the connection.
    int GetConnectionTimeout() const { return connectionTimeout_; }
    void SetConnectionTimeout(int value) { connectionTimeout_ = value; }

    TWillExecuteEvent OnWillExecute;

private:
    String provider_;
    bool loginPrompt_ = true;
    TConnectMode mode_ = cmUnknown;
    int connectionTimeout_ = 15;
    bool connected_ = false;
};

// ---------------------------------------------------------------------------
// A provider property of a command, such as "Page Size".
class TADOProperty {
public:
    TADOProperty(String Name, int Value) : name_(std::move(Name)), value_(Value) {}
    const String& GetName() const { return name_; }
    int GetValue() const { return value_; }
    void SetValue(int value) { value_ = value; }

private:
    String name_;
    int value_ = 0;
};

// TADOCommand: a query text run on a connection.
class TADOCommand : public TComponent {
public:
    explicit TADOCommand(TComponent* AOwner);

    // Runs the command text on the connection and returns its record set.
    TADORecordsetPtr Execute();

    TADOConnection* GetConnection() const { return connection_; }
    void SetConnection(TADOConnection* value);
    const String& GetCommandText() const { return commandText_; }
    void SetCommandText(const String& value) { commandText_ = value; }
    // Seconds a query may take; 0 waits as long as it takes.
    int GetCommandTimeout() const { return commandTimeout_; }
    void SetCommandTimeout(int value) { commandTimeout_ = value; }
    bool GetParamCheck() const { return paramCheck_; }
    void SetParamCheck(bool value) { paramCheck_ = value; }

    // The provider's property of that name (compared without regard to case);
    // raises EOleException for a name the provider does not have.
    TADOProperty& Properties(const String& Name);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TADOConnection* connection_ = nullptr;
    String commandText_;
    int commandTimeout_ = 30;
    bool paramCheck_ = true;
    std::vector<TADOProperty> properties_;
};

// ---------------------------------------------------------------------------
// Fields: a field reads one column of its data set's current record.
class TField : public TComponent {
public:
    using TComponent::TComponent;

    TDataSet* GetDataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* value);
    const String& GetFieldName() const { return fieldName_; }
    void SetFieldName(const String& value);
    int GetSize() const { return size_; }
    void SetSize(int value) { size_ = value; }
    bool GetReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }

    // The current record's value; raises EDatabaseError on a closed data set.
    bool IsNull() const;
    String GetAsString() const;
    String GetAsWideString() const { return GetAsString(); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TDataSet;
    const std::optional<String>& CurrentValue() const;

    TDataSet* dataSet_ = nullptr;
    String fieldName_;
    int size_ = 0;
    bool readOnly_ = false;
    int column_ = -1;  // bound when the data set opens
};

class TWideStringField : public TField {
public:
    using TField::TField;
};

// ---------------------------------------------------------------------------
// TDataSet: a cursor over a record set with its fields. Fields created for a
// data set (persistent fields) bind to the columns of their names when it
// opens; without any, one wide-string field per column is made for the time
// it is open.
class TDataSet : public TComponent {
public:
    explicit TDataSet(TComponent* AOwner);
    void BeforeDestruction() override;

    void Open();
    void Close();
    bool GetActive() const { return active_; }
    void SetActive(bool value);

    void First();
    void Next();
    bool Eof() const;
    int RecordCount() const;

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField* Fields(int Index) const { return fields_.at(static_cast<std::size_t>(Index)); }
    TField* FindField(const String& FieldName) const;
    // Raises EDatabaseError when the data set has no such field.
    TField* FieldByName(const String& FieldName) const;

protected:
    // The record set to open; raises when there is none.
    virtual TADORecordsetPtr OpenRecordset() = 0;
    virtual void CloseRecordset() {}
    void Notification(TComponent* AComponent, TOperation Operation) override;
    [[noreturn]] void DatabaseError(const String& text) const;

private:
    friend class TField;
    void AddField(TField* field);
    void RemoveField(TField* field);
    void BindFields();
    const std::optional<String>& Value(int column) const;

    TADORecordsetPtr recordset_;
    std::vector<TField*> fields_;
    std::vector<TField*> dynamicFields_;
    int record_ = 0;
    bool active_ = false;
};

// TADOQuery: a data set over a record set that a command returned.
enum TCursorType { ctUnspecified, ctOpenForwardOnly, ctKeyset, ctDynamic, ctStatic };

class TADOQuery : public TDataSet {
public:
    explicit TADOQuery(TComponent* AOwner);
    ~TADOQuery() override;

    TADOConnection* GetConnection() const { return connection_; }
    void SetConnection(TADOConnection* value);
    TStrings* GetSQL() const { return sql_.get(); }
    // Record sets here are always static; the setting is kept for the form.
    TCursorType GetCursorType() const { return cursorType_; }
    void SetCursorType(TCursorType value) { cursorType_ = value; }

    // Attaches a record set (closing the query first); Open then walks it.
    // Closing the query releases it.
    TADORecordsetPtr GetRecordset() const { return recordset_; }
    void SetRecordset(TADORecordsetPtr value);

protected:
    TADORecordsetPtr OpenRecordset() override;
    void CloseRecordset() override { recordset_.reset(); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TADOConnection* connection_ = nullptr;
    TOwned<TStringList> sql_;
    TCursorType cursorType_ = ctUnspecified;
    TADORecordsetPtr recordset_;
};

// ---------------------------------------------------------------------------
// TDataSource: links data-aware controls to a data set.
class TDataSource : public TComponent {
public:
    using TComponent::TComponent;
    TDataSet* GetDataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* value);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TDataSet* dataSet_ = nullptr;
};
