// Late-bound automation against objects the platform provides.
#include <gtest/gtest.h>
#include "ComObj.h"
#include <vector>

namespace {

class Automation : public testing::Test {
protected:
    void SetUp() override { ComObj_Initialize(); }
    void TearDown() override { ComObj_Finalize(); }
};

std::vector<String> Strings(const Variant& array)
{
    std::vector<String> out;
    for (int i = VarArrayLowBound(array, 1); i <= VarArrayHighBound(array, 1); ++i)
        out.push_back(VarArrayGet(array, {i}).ToString());
    return out;
}

} // namespace

TEST_F(Automation, DictionaryMethodsAndProperties)
{
    Variant dict = CreateOleObject(L"Scripting.Dictionary");
    ASSERT_TRUE(dict.IsDispatch());
    dict.OleProcedure(L"Add", {L"one", 1});
    dict.OleProcedure(L"Add", {L"два", L"второй"});
    EXPECT_EQ(dict.OlePropertyGet(L"Count").ToInteger(), 2);
    EXPECT_EQ(dict.OlePropertyGet(L"Item", {L"два"}).ToString(), L"второй");
    EXPECT_TRUE(dict.OleFunction(L"Exists", {L"one"}).ToBool());
    EXPECT_FALSE(dict.OleFunction(L"Exists", {L"three"}).ToBool());

    dict.OlePropertySet(L"Item", 2.5, {L"one"});
    EXPECT_DOUBLE_EQ(dict.OlePropertyGet(L"Item", {L"one"}).ToDouble(), 2.5);
    EXPECT_EQ(dict.OlePropertyGet(L"Item", {L"one"}).ToString(), L"2.5");

    EXPECT_EQ(Strings(dict.OleFunction(L"Keys")), (std::vector<String>{L"one", L"два"}));
    std::vector<String> walked;
    ForEachItem(dict, [&](const Variant& key) { walked.push_back(key.ToString()); });
    EXPECT_EQ(walked, (std::vector<String>{L"one", L"два"}));

    dict.OleProcedure(L"Remove", {L"one"});
    EXPECT_EQ(dict.OlePropertyGet(L"Count").ToInteger(), 1);
}

TEST_F(Automation, NamedArguments)
{
    Variant dict = CreateOleObject(L"Scripting.Dictionary");
    dict.Invoke(L"Add", DISPATCH_METHOD, {TOleArg(L"Item", L"value"), TOleArg(L"Key", L"key")});
    EXPECT_EQ(dict.OlePropertyGet(L"Item", {L"key"}).ToString(), L"value");
    dict.Invoke(L"Add", DISPATCH_METHOD, {TOleArg(L"k2"), TOleArg(L"Item", 7)});
    EXPECT_EQ(dict.OlePropertyGet(L"Item", {L"k2"}).ToInteger(), 7);
    EXPECT_THROW(dict.Invoke(L"Add", DISPATCH_METHOD, {TOleArg(L"Nope", 1)}), EOleError);
}

TEST_F(Automation, TwoDimensionalArraysTravelThroughTheServer)
{
    Variant block = VarArrayCreate({0, 2, 0, 1}, VT_VARIANT);
    for (int r = 0; r <= 2; ++r)
        for (int c = 0; c <= 1; ++c)
            VarArrayPut(block, Format(L"r%dc%d", {r, c}), {r, c});
    VarArrayPut(block, 42, {2, 1});

    Variant dict = CreateOleObject(L"Scripting.Dictionary");
    dict.OlePropertySet(L"Item", Variant::ByRef(block), {L"block"});
    Variant back = dict.OlePropertyGet(L"Item", {L"block"});
    ASSERT_TRUE(back.IsArray());
    EXPECT_EQ(VarArrayDimCount(back), 2);
    EXPECT_EQ(VarArrayLowBound(back, 1), 0);
    EXPECT_EQ(VarArrayHighBound(back, 1), 2);
    EXPECT_EQ(VarArrayHighBound(back, 2), 1);
    EXPECT_EQ(VarArrayGet(back, {1, 0}).ToString(), L"r1c0");
    EXPECT_EQ(VarArrayGet(back, {0, 1}).ToString(), L"r0c1");
    EXPECT_EQ(VarArrayGet(back, {2, 1}).ToInteger(), 42);
    EXPECT_THROW(VarArrayGet(back, {3, 0}), EVariantError);
    EXPECT_THROW(VarArrayGet(back, {0}), EVariantError);

    Variant numbers = VarArrayCreate({1, 3}, VT_I4);
    VarArrayPut(numbers, L"12", {2});
    EXPECT_EQ(VarArrayGet(numbers, {2}).ToInteger(), 12);
    EXPECT_EQ(VarArrayGet(numbers, {1}).VarType(), VT_I4);
}

TEST_F(Automation, ServerErrorsBecomeOleExceptions)
{
    Variant dict = CreateOleObject(L"Scripting.Dictionary");
    dict.OleProcedure(L"Add", {L"k", 1});
    try {
        dict.OleProcedure(L"Add", {L"k", 2});
        ADD_FAILURE() << "a duplicate key must fail";
    } catch (const EOleException& e) {
        // The server's own code for "key already exists".
        EXPECT_EQ(static_cast<std::uint32_t>(e.ErrorCode), 0x800A01C9u);
        EXPECT_FALSE(e.Message().empty());
    }

    // A script raising its own error number through the script host.
    Variant script = CreateOleObject(L"MSScriptControl.ScriptControl");
    script.OlePropertySet(L"Language", L"VBScript");
    EXPECT_EQ(script.OleFunction(L"Eval", {L"6 * 7"}).ToInteger(), 42);
    try {
        script.OleProcedure(L"ExecuteStatement", {L"Err.Raise 1000"});
        ADD_FAILURE();
    } catch (const EOleException& e) {
        EXPECT_EQ(static_cast<std::uint32_t>(e.ErrorCode), 0x800A03E8u);
    }
    try {
        dict.OleFunction(L"NoSuchMember");
        ADD_FAILURE();
    } catch (const EOleError& e) {
        EXPECT_EQ(e.Message(), L"Method 'NoSuchMember' not supported by automation object");
    }
    EXPECT_THROW(CreateOleObject(L"No.Such.ProgID"), EOleSysError);
    EXPECT_THROW(Variant(5).OleFunction(L"Anything"), EVariantError);
}

namespace {

// The platform's servers here report errors by code only; this one gives a
// description and source the way other servers do, one of them filled in
// late through the deferred callback.
class TDescribingServer : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override
    {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        for (UINT i = 0; i < count; ++i)
            ids[i] = String(names[i]) == L"Fail" ? 1 : String(names[i]) == L"FailLate" ? 2 : DISPID_UNKNOWN;
        return ids[0] == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO* info,
                                     UINT*) override
    {
        *info = EXCEPINFO{};
        info->scode = 0x80040123;
        if (id == 2) {
            info->pfnDeferredFillIn = FillIn;
        } else {
            info->bstrDescription = SysAllocString(L"The workbook is read-only.  ");
            info->bstrSource = SysAllocString(L"Spreadsheet");
        }
        return DISP_E_EXCEPTION;
    }

private:
    static HRESULT WINAPI FillIn(EXCEPINFO* e)
    {
        e->bstrDescription = SysAllocString(L"Лист не найден");
        return S_OK;
    }
};

} // namespace

TEST_F(Automation, ServerDescriptionsAndSourcesAreKept)
{
    TDescribingServer server;
    Variant object(static_cast<IDispatch*>(&server));
    try {
        object.OleProcedure(L"Fail");
        ADD_FAILURE();
    } catch (const EOleException& e) {
        EXPECT_EQ(e.Message(), L"The workbook is read-only.");
        EXPECT_EQ(e.Source, L"Spreadsheet");
        EXPECT_EQ(static_cast<std::uint32_t>(e.ErrorCode), 0x80040123u);
    }
    try {
        object.OleProcedure(L"FailLate");
        ADD_FAILURE();
    } catch (const EOleException& e) {
        EXPECT_EQ(e.Message(), L"Лист не найден");
    }
}

TEST_F(Automation, ActiveObjectsAreFoundByProgID)
{
    EXPECT_THROW(GetActiveOleObject(L"Scripting.Dictionary"), EOleSysError);
    Variant dict = CreateOleObject(L"Scripting.Dictionary");
    dict.OleProcedure(L"Add", {L"marker", L"registered"});
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(L"Scripting.Dictionary", &clsid), S_OK);
    DWORD cookie = 0;
    ASSERT_EQ(RegisterActiveObject(dict.ToDispatch(), clsid, ACTIVEOBJECT_STRONG, &cookie), S_OK);
    Variant found = GetActiveOleObject(L"Scripting.Dictionary");
    EXPECT_EQ(found.OlePropertyGet(L"Item", {L"marker"}).ToString(), L"registered");
    RevokeActiveObject(cookie, nullptr);
}

TEST(Variants, ConversionsAndTexts)
{
    EXPECT_EQ(Variant().ToString(), L"");
    EXPECT_EQ(Variant::Null().ToString(), L"");
    EXPECT_TRUE(VarIsNull(Variant::Null()));
    EXPECT_TRUE(VarIsEmpty(Unassigned));
    EXPECT_EQ(Variant(true).ToString(), L"True");
    EXPECT_EQ(Variant(L"17").ToInteger(), 17);
    EXPECT_EQ(Variant(12).ToString(), L"12");
    EXPECT_EQ(Variant(Int64(1) << 40).ToInt64(), Int64(1) << 40);
    EXPECT_TRUE(Variant(L"True").ToBool());
    EXPECT_DOUBLE_EQ(Variant::FromDateTime(45000.5).ToDateTime(), 45000.5);
    try {
        Variant(L"abc").ToInteger();
        ADD_FAILURE();
    } catch (const EVariantError& e) {
        EXPECT_EQ(e.Message(), L"Could not convert variant of type (OleStr) into type (Integer)");
    }
    Variant a = L"text";
    Variant b = a;
    a = 5;
    EXPECT_EQ(b.ToString(), L"text") << "copies are independent";
}
