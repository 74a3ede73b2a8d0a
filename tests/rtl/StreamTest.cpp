// Streams in memory, over files and over resources.
#include <gtest/gtest.h>
#include "Classes.h"
#include "TestSupport.h"
#include <cstring>

using testing_support::TempDir;

TEST(Streams, MemoryStreamGrowsSeeksAndReadsBack)
{
    TOwned<TMemoryStream> m(New<TMemoryStream>());
    m->WriteBuffer("hello", 5);
    EXPECT_EQ(m->GetSize(), 5);
    EXPECT_EQ(m->GetPosition(), 5);
    m->SetPosition(8);
    m->WriteBuffer("!", 1);
    EXPECT_EQ(m->GetSize(), 9);
    EXPECT_EQ(std::memcmp(m->Memory(), "hello\0\0\0!", 9), 0) << "the gap is zero-filled";

    EXPECT_EQ(m->Seek(-4, soEnd), 5);
    char buf[8] = {};
    EXPECT_EQ(m->Read(buf, 8), 4) << "a read stops at the end";
    EXPECT_EQ(m->Read(buf, 8), 0);
    m->Seek(-9, soCurrent);
    m->ReadBuffer(buf, 5);
    EXPECT_EQ(std::string(buf, 5), "hello");

    m->SetSize(2);
    EXPECT_EQ(m->GetPosition(), 2) << "shrinking pulls the position back";
    m->Clear();
    EXPECT_EQ(m->GetSize(), 0);
    EXPECT_EQ(m->GetPosition(), 0);
}

TEST(Streams, ReadBufferPastTheEndRaisesReadError)
{
    TOwned<TMemoryStream> m(New<TMemoryStream>());
    m->WriteBuffer("abc", 3);
    m->SetPosition(1);
    char buf[4];
    EXPECT_THROW(m->ReadBuffer(buf, 3), EReadError);
    m->SetPosition(10);
    EXPECT_THROW(m->ReadBuffer(buf, 1), EReadError);
    try {
        m->SetPosition(3);
        m->ReadBuffer(buf, 1);
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), L"Stream read error");
    }
}

TEST(Streams, CopyFromTakesACountOrTheWholeSource)
{
    TOwned<TMemoryStream> src(New<TMemoryStream>());
    std::string data(100000, 'x');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    src->WriteBuffer(data.data(), static_cast<Int64>(data.size()));

    TOwned<TMemoryStream> dst(New<TMemoryStream>());
    src->SetPosition(10);
    EXPECT_EQ(dst->CopyFrom(src.get(), 20), 20);
    EXPECT_EQ(std::memcmp(dst->Memory(), data.data() + 10, 20), 0);
    EXPECT_EQ(dst->CopyFrom(src.get(), 0), static_cast<Int64>(data.size()));
    EXPECT_EQ(dst->GetSize(), static_cast<Int64>(data.size()) + 20);
    EXPECT_EQ(std::memcmp(static_cast<char*>(dst->Memory()) + 20, data.data(), data.size()), 0);
    src->SetPosition(static_cast<Int64>(data.size()) - 5);
    EXPECT_THROW(dst->CopyFrom(src.get(), 10), EReadError);
}

TEST(Streams, FileStreamCreatesOpensAndSharesAsAsked)
{
    TempDir temp;
    const String name = temp.File(L"данные.bin");
    {
        TOwned<TFileStream> f(New<TFileStream>(name, fmCreate));
        f->WriteBuffer("0123456789", 10);
        EXPECT_EQ(f->GetSize(), 10);
    }
    {
        TOwned<TFileStream> f(New<TFileStream>(name, fmOpenRead | fmShareDenyWrite));
        f->SetPosition(3);
        char buf[4] = {};
        f->ReadBuffer(buf, 4);
        EXPECT_EQ(std::string(buf, 4), "3456");
        EXPECT_EQ(f->Write("x", 1), 0) << "opened for reading only";
        EXPECT_THROW(f->WriteBuffer("x", 1), EWriteError);

        // Another reader is welcome, a writer is not.
        TOwned<TFileStream> reader(New<TFileStream>(name, fmOpenRead | fmShareDenyNone));
        EXPECT_EQ(reader->GetSize(), 10);
        EXPECT_THROW(New<TFileStream>(name, fmOpenWrite | fmShareDenyNone), EFOpenError);
    }
    {
        TOwned<TFileStream> f(New<TFileStream>(name, fmOpenReadWrite | fmShareExclusive));
        EXPECT_THROW(New<TFileStream>(name, fmOpenRead | fmShareDenyNone), EFOpenError);
        f->Seek(0, soEnd);
        f->WriteBuffer("AB", 2);
        f->SetSize(4);
        EXPECT_EQ(f->GetSize(), 4);
    }
    try {
        New<TFileStream>(temp.File(L"missing.bin"), fmOpenRead);
        ADD_FAILURE();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind(L"Cannot open file \"" + temp.File(L"missing.bin") + L"\". ", 0), 0u)
            << e.what();
    }
    EXPECT_THROW(New<TFileStream>(temp.File(L"no\\such\\folder.bin"), fmCreate), EFCreateError);

    TOwned<TMemoryStream> m(New<TMemoryStream>());
    m->LoadFromFile(name);
    EXPECT_EQ(std::string(static_cast<char*>(m->Memory()), 4), "0123");
    m->SaveToFile(temp.File(L"copy.bin"));
    TOwned<TFileStream> copy(New<TFileStream>(temp.File(L"copy.bin"), fmOpenRead));
    EXPECT_EQ(copy->GetSize(), 4);
}

TEST(Streams, FilePositionsBeyondFourGigabytes)
{
    TempDir temp;
    const String name = temp.File(L"big.bin");
    const Int64 beyond = 5LL * 1024 * 1024 * 1024 + 3;
    TOwned<TFileStream> f(New<TFileStream>(name, fmCreate));
    EXPECT_EQ(f->Seek(beyond, soBeginning), beyond);
    f->WriteBuffer("z", 1);
    EXPECT_EQ(f->GetSize(), beyond + 1);
    EXPECT_EQ(f->Seek(-1, soEnd), beyond);
    char c = 0;
    f->ReadBuffer(&c, 1);
    EXPECT_EQ(c, 'z');
    f->SetSize(0);
}

TEST(Streams, ResourceStreamReadsTheModulesOwnResource)
{
    TOwned<TResourceStream> r(New<TResourceStream>(HInstance(), 1, RT_MANIFEST));
    ASSERT_GT(r->GetSize(), 0);
    std::string text(static_cast<std::size_t>(r->GetSize()), '\0');
    r->ReadBuffer(text.data(), r->GetSize());
    EXPECT_NE(text.find("assembly"), std::string::npos);
    EXPECT_THROW(r->WriteBuffer("x", 1), EStreamError);
    try {
        New<TResourceStream>(HInstance(), L"NO_SUCH_RESOURCE", RT_RCDATA);
        ADD_FAILURE();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), L"Resource NO_SUCH_RESOURCE not found");
    }
}
