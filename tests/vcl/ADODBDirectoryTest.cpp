// The ADO stand-in against the test directory server that ./test starts
// (tools/ldap): paging, both kinds of path, wide values, and the failures.
#include <gtest/gtest.h>
#include "ADODB.h"
#include "TestSupport.h"
#include <set>

namespace {

class DirectoryCommand : public testing::Test {
protected:
    void SetUp() override
    {
        address = testing_support::TestDirectoryAddress();
        ASSERT_FALSE(address.empty()) << "the test directory runs only under ./test";
        connection->SetProvider(L"ADsDSOObject");
        command->SetConnection(connection);
        command->SetCommandTimeout(0);
    }

    TADORecordsetPtr Run(const String& text)
    {
        command->SetCommandText(text);
        return command->Execute();
    }

    std::vector<String> Column(const TADORecordsetPtr& rs, const String& field)
    {
        std::vector<String> values;
        int column = rs->FieldIndex(field);
        for (int r = 0; r < rs->RecordCount(); ++r)
            values.push_back(rs->Value(r, column).value_or(L"<null>"));
        std::sort(values.begin(), values.end());
        return values;
    }

    String address;
    TOwned<TComponent> owner{New<TComponent>(nullptr)};
    TADOConnection* connection = New<TADOConnection>(owner.get());
    TADOCommand* command = New<TADOCommand>(owner.get());
};

TEST_F(DirectoryCommand, PagesBringBackMoreObjectsThanOneAnswerHolds)
{
    const String text = L"select Name from 'LDAP://big.example.net/dc=big,dc=example,dc=net' "
                        L"where objectclass='computer'";
    // The server answers at most 1,000 objects at once.
    EXPECT_THROW(Run(text), EOleException);

    int calls = 0;
    connection->OnWillExecute = [&](TADOConnection*, String&, TADOCommand* c) {
        ++calls;
        c->Properties(L"Page Size").SetValue(1000);
    };
    TADORecordsetPtr rs = Run(text);
    EXPECT_EQ(calls, 1);
    ASSERT_EQ(rs->RecordCount(), 1210);
    std::vector<String> names = Column(rs, L"Name");
    EXPECT_EQ(std::set<String>(names.begin(), names.end()).size(), 1210u);
    EXPECT_EQ(names.front(), L"PC-0001");
    EXPECT_EQ(names.back(), L"SRV-060");
}

TEST_F(DirectoryCommand, ServerAndServerlessPathsReadTheSameWideValues)
{
    const String where = L" where objectclass='computer' and operatingsystem='*server*'";
    TADORecordsetPtr byAddress = Run(L"select Name, operatingsystem from 'LDAP://" + address +
                                     L":389/dc=example,dc=com'" + where);
    // Without a server part the locator finds the domain's server by its name.
    TADORecordsetPtr byDomain = Run(L"select Name, operatingsystem from 'LDAP://dc=example,dc=com'" + where);

    const std::vector<String> servers{L"<null>", L"DC01", L"SRV-FILE", L"srv-mail"};
    EXPECT_EQ(Column(byAddress, L"name"), servers);
    EXPECT_EQ(Column(byDomain, L"Name"), servers);
    EXPECT_EQ(Column(byDomain, L"operatingsystem"),
              (std::vector<String>{L"Windows Server 2012 R2 Standard", L"Windows Server 2019 Standard",
                                   L"Windows Server 2022 Datacenter", L"windows server 2016 datacenter"}));

    TADORecordsetPtr cyrillic =
        Run(L"select Name from 'LDAP://dc=example,dc=com' where name='ДИРЕКТОР*'");
    EXPECT_EQ(Column(cyrillic, L"Name"), (std::vector<String>{L"ДИРЕКТОР-ПК"}));
}

TEST_F(DirectoryCommand, FilterTextInAValueCannotWidenTheSearch)
{
    TADORecordsetPtr rs = Run(L"select Name from 'LDAP://dc=example,dc=com' "
                              L"where objectclass='computer' and name='none)(|(name=*'");
    EXPECT_EQ(rs->RecordCount(), 0);
}

TEST_F(DirectoryCommand, UnreachableOrMissingDirectoriesRaise)
{
    const String paths[] = {
        L"LDAP://offline.example.com/dc=example,dc=com",  // nothing listens there
        L"LDAP://dc=nowhere,dc=invalid",                  // no such domain
        L"LDAP://o=nowhere",                              // no domain to locate
        L"LDAP://" + address + L"/dc=missing,dc=com",     // the server lacks the object
    };
    for (const String& path : paths) {
        SCOPED_TRACE(testing::Message() << std::string(path.begin(), path.end()));
        EXPECT_THROW(Run(L"select Name from '" + path + L"'"), EOleException);
    }
}

} // namespace
