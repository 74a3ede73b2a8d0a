// The ADO components around a record set: connection and command set-up,
// fields bound by name, walking the records, and links that outlive nothing.
#include <gtest/gtest.h>
#include "ADODB.h"

namespace {

TADORecordsetPtr Computers()
{
    auto rs = std::make_shared<TADORecordset>(std::vector<String>{L"Name", L"operatingsystem"});
    rs->AddRecord({String(L"PC-2"), String(L"Windows 10 Pro")});
    rs->AddRecord({std::nullopt, String(L"Windows Server 2019")});
    rs->AddRecord({String(L"ПК-1"), std::nullopt});
    return rs;
}

struct Form {
    TOwned<TComponent> owner{New<TComponent>(nullptr)};
    TADOConnection* connection = New<TADOConnection>(owner.get());
    TADOCommand* command = New<TADOCommand>(owner.get());
    TADOQuery* query = New<TADOQuery>(owner.get());
    Form()
    {
        query->SetName(L"ADOQuery1");
        command->SetConnection(connection);
        query->SetConnection(connection);
    }
};

std::vector<String> Walk(TADOQuery* query, const String& fieldName)
{
    std::vector<String> values;
    TField* field = query->FieldByName(fieldName);
    for (query->First(); !query->Eof(); query->Next())
        values.push_back(field->IsNull() ? L"<null>" : field->GetAsWideString());
    return values;
}

TEST(ADOComponents, PersistentFieldsBindByNameAndReadEveryRecord)
{
    Form form;
    auto* name = New<TWideStringField>(form.owner.get());
    name->SetFieldName(L"name");  // columns match without regard to case
    name->SetSize(4000);
    name->SetDataSet(form.query);

    form.query->SetRecordset(Computers());
    form.query->Open();
    EXPECT_EQ(form.query->RecordCount(), 3);
    EXPECT_EQ(Walk(form.query, L"Name"), (std::vector<String>{L"PC-2", L"<null>", L"ПК-1"}));
    // Only the persistent field exists; a column without one has no field.
    EXPECT_EQ(form.query->FindField(L"operatingsystem"), nullptr);
    EXPECT_THROW(form.query->FieldByName(L"operatingsystem"), EDatabaseError);
    // Past the last record there is no value to read.
    EXPECT_TRUE(form.query->Eof());
    EXPECT_THROW(name->GetAsString(), EDatabaseError);

    // Closing releases the record set; reading or opening again needs a new one.
    form.query->Close();
    EXPECT_EQ(form.query->GetRecordset(), nullptr);
    EXPECT_THROW(form.query->RecordCount(), EDatabaseError);
    EXPECT_THROW(name->IsNull(), EDatabaseError);
    EXPECT_THROW(form.query->Open(), EDatabaseError);
    EXPECT_FALSE(form.query->GetActive());
}

TEST(ADOComponents, WithoutPersistentFieldsEachColumnGetsAFieldWhileOpen)
{
    Form form;
    form.query->SetRecordset(Computers());
    form.query->Open();
    ASSERT_EQ(form.query->FieldCount(), 2);
    EXPECT_EQ(Walk(form.query, L"operatingsystem"),
              (std::vector<String>{L"Windows 10 Pro", L"Windows Server 2019", L"<null>"}));
    form.query->Close();
    EXPECT_EQ(form.query->FieldCount(), 0);
}

TEST(ADOComponents, AFieldWithoutItsColumnKeepsTheQueryClosed)
{
    Form form;
    auto* missing = New<TWideStringField>(form.owner.get());
    missing->SetFieldName(L"dNSHostName");
    missing->SetDataSet(form.query);
    form.query->SetRecordset(Computers());
    EXPECT_THROW(form.query->Open(), EDatabaseError);
    EXPECT_FALSE(form.query->GetActive());
    // A field cannot join or leave an open data set.
    missing->SetFieldName(L"Name");
    form.query->SetRecordset(Computers());
    form.query->Open();
    EXPECT_THROW(missing->SetDataSet(nullptr), EDatabaseError);
}

TEST(ADOComponents, CommandsNeedTheDirectoryProviderAndKnowItsProperties)
{
    Form form;
    form.connection->SetProvider(L"SQLOLEDB");
    EXPECT_THROW(form.connection->Open(), EOleException);
    EXPECT_FALSE(form.connection->GetConnected());
    form.connection->SetProvider(L"ADsDSOObject");
    form.connection->SetConnected(true);
    EXPECT_TRUE(form.connection->GetConnected());
    EXPECT_THROW(form.connection->SetProvider(L"SQLOLEDB"), EDatabaseError);

    EXPECT_EQ(form.command->Properties(L"page size").GetValue(), 0);
    form.command->Properties(L"Page Size").SetValue(1000);
    EXPECT_EQ(form.command->Properties(L"Page Size").GetValue(), 1000);
    EXPECT_THROW(form.command->Properties(L"Chase referrals"), EOleException);

    // The event sees the text before it runs and may change it; here into a
    // text the dialect refuses, which the command then reports.
    String seen;
    form.connection->OnWillExecute = [&](TADOConnection*, String& text, TADOCommand* command) {
        seen = text;
        EXPECT_EQ(command, form.command);
        text = L"not a query";
    };
    form.command->SetCommandText(L"select cn from 'LDAP://dc=x'");
    EXPECT_THROW(form.command->Execute(), EOleException);
    EXPECT_EQ(seen, L"select cn from 'LDAP://dc=x'");

    auto* orphan = New<TADOCommand>(form.owner.get());
    EXPECT_THROW(orphan->Execute(), EDatabaseError);
}

TEST(ADOComponents, LinksAreClearedWhenTheOtherSideGoes)
{
    Form form;
    auto* source = New<TDataSource>(form.owner.get());
    source->SetDataSet(form.query);
    auto* field = New<TWideStringField>(form.owner.get());
    field->SetFieldName(L"Name");
    field->SetDataSet(form.query);
    form.query->SetRecordset(Computers());
    form.query->Open();

    form.connection->Free();
    EXPECT_EQ(form.command->GetConnection(), nullptr);
    EXPECT_EQ(form.query->GetConnection(), nullptr);

    form.query->Free();
    EXPECT_EQ(source->GetDataSet(), nullptr);
    EXPECT_EQ(field->GetDataSet(), nullptr);
    EXPECT_THROW(field->GetAsString(), EDatabaseError);

    // And the other way round: a field freed first leaves its data set.
    auto* query = New<TADOQuery>(form.owner.get());
    auto* gone = New<TWideStringField>(form.owner.get());
    gone->SetDataSet(query);
    EXPECT_EQ(query->FieldCount(), 1);
    gone->Free();
    EXPECT_EQ(query->FieldCount(), 0);
}

} // namespace
