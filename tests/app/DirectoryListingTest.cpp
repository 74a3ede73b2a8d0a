// Listing the computers of a domain through the ADO components set up as the
// main window sets them, against the test directory that ./test starts
// (tools/ldap/domains and the generated big.example.net).
#include <gtest/gtest.h>
#include "DirectoryQuery.h"
#include "TestSupport.h"

namespace {

class DirectoryListing : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(testing_support::TestDirectoryAddress().empty())
            << "the test directory runs only under ./test";
        ADOConnection1->SetProvider(L"ADsDSOObject");
        ADOConnection1->SetLoginPrompt(false);
        ADOConnection1->SetMode(cmRead);
        ADOConnection1->OnWillExecute = [this](TADOConnection*, String&, TADOCommand*) {
            ADOCommand1->Properties(L"Page Size").SetValue(1000);
        };
        ADOCommand1->SetConnection(ADOConnection1);
        ADOCommand1->SetCommandTimeout(0);
        ADOCommand1->SetParamCheck(false);
        ADOQuery1->SetConnection(ADOConnection1);
        ADOQuery1->SetCursorType(ctStatic);
        for (auto [field, name] : {std::pair{ADOQuery1Name, L"Name"},
                                   std::pair{ADOQuery1operatingsystem, L"operatingsystem"}}) {
            field->SetFieldName(name);
            field->SetSize(4000);
            field->SetReadOnly(true);
            field->SetDataSet(ADOQuery1);
        }
        DataSource1->SetDataSet(ADOQuery1);
    }

    // Lists the domain of a "domain\user" name as the window does.
    int List(const String& userName, bool servers, bool workstations)
    {
        String text = DirectoryQueryText(UserDomain(userName), servers, workstations);
        return ListDirectoryComputers(ADOCommand1, ADOQuery1, text, lines.get());
    }

    std::vector<String> Lines() const
    {
        std::vector<String> out;
        for (int i = 0; i < lines->Count(); ++i)
            out.push_back(lines->Get(i));
        return out;
    }

    TOwned<TComponent> form{New<TComponent>(nullptr)};
    TADOConnection* ADOConnection1 = New<TADOConnection>(form.get());
    TADOCommand* ADOCommand1 = New<TADOCommand>(form.get());
    TADOQuery* ADOQuery1 = New<TADOQuery>(form.get());
    TWideStringField* ADOQuery1Name = New<TWideStringField>(form.get());
    TWideStringField* ADOQuery1operatingsystem = New<TWideStringField>(form.get());
    TDataSource* DataSource1 = New<TDataSource>(form.get());
    TOwned<TStringList> lines{New<TStringList>()};
};

struct ListingCase {
    bool servers;
    bool workstations;
    std::vector<String> names;
    int count;  // records, the nameless ones included
};

// example.com: each box state gives its names sorted without regard to case,
// the name used twice kept, and a nameless computer counted without a line.
const ListingCase kExampleCom[] = {
    {true, true,
     {L"DC01", L"LEGACY01", L"SRV-FILE", L"srv-mail", L"WS-alpha", L"ws-bravo", L"ws-bravo",
      L"Ws-Charlie", L"ДИРЕКТОР-ПК"},
     11},
    {true, false, {L"DC01", L"SRV-FILE", L"srv-mail"}, 4},
    {false, true,
     {L"LEGACY01", L"WS-alpha", L"ws-bravo", L"ws-bravo", L"Ws-Charlie", L"ДИРЕКТОР-ПК"}, 7},
    {false, false,
     {L"LEGACY01", L"WS-alpha", L"ws-bravo", L"ws-bravo", L"Ws-Charlie", L"ДИРЕКТОР-ПК"}, 7},
};

TEST_F(DirectoryListing, AllServersAndWorkstationsGiveTheirSortedNamesAndCounts)
{
    for (const auto& c : kExampleCom) {
        SCOPED_TRACE(testing::Message() << "servers " << c.servers << ", workstations " << c.workstations);
        EXPECT_EQ(List(L"example.com\\tester", c.servers, c.workstations), c.count);
        EXPECT_EQ(Lines(), c.names);
    }
}

TEST_F(DirectoryListing, ListingTwiceGivesTheSameList)
{
    lines->Add(L"typed by hand");
    int first = List(L"example.com\\tester", true, true);
    std::vector<String> once = Lines();
    EXPECT_EQ(List(L"example.com\\tester", true, true), first);
    EXPECT_EQ(Lines(), once);
    EXPECT_EQ(once.size(), 9u);
}

TEST_F(DirectoryListing, MoreThanOnePageComesBackWhole)
{
    std::vector<String> workstations, servers;
    for (int i = 1; i <= 1150; ++i)
        workstations.push_back(L"PC-" + String(4 - std::to_wstring(i).size(), L'0') + std::to_wstring(i));
    for (int i = 1; i <= 60; ++i)
        servers.push_back(L"SRV-" + String(3 - std::to_wstring(i).size(), L'0') + std::to_wstring(i));
    std::vector<String> all = workstations;
    all.insert(all.end(), servers.begin(), servers.end());

    EXPECT_EQ(List(L"big.example.net\\tester", true, true), 1210);
    EXPECT_EQ(Lines(), all);
    EXPECT_EQ(List(L"big.example.net\\tester", false, true), 1150);
    EXPECT_EQ(Lines(), workstations);
    EXPECT_EQ(List(L"big.example.net\\tester", true, false), 60);
    EXPECT_EQ(Lines(), servers);
}

TEST_F(DirectoryListing, DomainsOfOneToFiveLabelsReachTheirOwnDirectory)
{
    // One and two labels go through the locator, three to five name the server.
    const std::pair<const wchar_t*, int> domains[] = {
        {L"corp", 2},
        {L"example.com", 11},
        {L"big.example.net", 1210},
        {L"lab.branch.example.org", 3},
        {L"dev.team.site.example.edu", 4},
    };
    for (auto [domain, count] : domains) {
        SCOPED_TRACE(testing::Message() << std::string(domain, domain + wcslen(domain)));
        EXPECT_EQ(List(String(domain) + L"\\tester", true, true), count);
    }
}

TEST_F(DirectoryListing, NoReachableDirectoryRaisesAndAddsNothing)
{
    const wchar_t* users[] = {
        L"offline.example.com\\tester",                 // no server listens
        L"nowhere.invalid\\tester",                     // the name resolves nowhere
        L"tester",                                      // no domain at all
        L"example.com' where objectclass='*\\tester",   // cannot reach example.com
    };
    for (const wchar_t* user : users) {
        SCOPED_TRACE(testing::Message() << std::string(user, user + wcslen(user)));
        lines->Clear();
        EXPECT_THROW(List(user, true, true), Exception);
        EXPECT_EQ(lines->Count(), 0);
    }
    // A failed listing leaves nothing behind that spoils the next one.
    EXPECT_EQ(List(L"corp\\tester", true, true), 2);
    EXPECT_EQ(Lines(), (std::vector<String>{L"CORP-SRV1", L"CORP-WS1"}));
}

} // namespace
