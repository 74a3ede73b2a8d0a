// Helpers shared by the graphics tests: fixture files and GDI leak checks.
#pragma once
#include <gtest/gtest.h>
#include "Graphics.h"
#include "TestSupport.h"
#include <vector>

namespace graphics_test {

// A file of tests/fixtures/vcl.
inline String Fixture(const String& name)
{
    return testing_support::SourceDir() + L"\\tests\\fixtures\\vcl\\" + name;
}

inline std::vector<Byte> ReadFixture(const String& name)
{
    TOwned<TMemoryStream> file(New<TMemoryStream>());
    file->LoadFromFile(Fixture(name));
    auto* bytes = static_cast<const Byte*>(file->Memory());
    return {bytes, bytes + file->GetSize()};
}

// A memory stream holding Bytes, positioned at the start.
inline TOwned<TMemoryStream> StreamOf(const std::vector<Byte>& bytes)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    if (!bytes.empty())
        stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

inline std::vector<Byte> BytesOf(TMemoryStream* stream)
{
    auto* bytes = static_cast<const Byte*>(stream->Memory());
    return {bytes, bytes + stream->GetSize()};
}

// A fixture whose tests must leave the process's GDI object count as they found it.
class GdiLeakTest : public testing::Test {
protected:
    void SetUp() override { gdiBefore_ = testing_support::GdiObjectCount(); }
    void TearDown() override
    {
        EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore_) << "GDI objects left behind";
    }

private:
    DWORD gdiBefore_ = 0;
};

} // namespace graphics_test
