// The files of test skins as the tests write them: the described skin's
// folder files (the skin generator's writer), edits of its option text, and
// its packed form, so that each test can damage exactly one thing.
#pragma once
#include "DescribedSkin.h"
#include "SkinWriter.h"
#include <string>
#include <utility>
#include <vector>

using TSkinFiles = std::vector<std::pair<std::string, std::string>>;

// The files of tests/fixtures/skins/<Name>.skin.
TSkinFiles DescribedSkinFiles(const std::string& Name);
// The file's bytes (added empty when missing).
std::string& FileOf(TSkinFiles& Files, const std::string& Name);
void RemoveFile(TSkinFiles& Files, const std::string& Name);
// Sets (or adds) KEY=Value in the section of "Options.dat"; the section is
// appended when missing.
void SetOption(TSkinFiles& Files, const std::string& Section, const std::string& Key, const std::string& Value);
void RemoveOption(TSkinFiles& Files, const std::string& Section, const std::string& Key);
// Writes every file into Folder (created).
void WriteSkinFolder(const std::wstring& Folder, const TSkinFiles& Files);
// A font file of the system's whose family is renamed to "Blockfn", so
// that only the skin's copy of it can answer that name.
std::string RenamedFontFile();
#include <functional>
// Runs Action and answers every message box it shows with OK; the boxes'
// texts, joined by "|" (empty when none showed).
std::wstring AnsweringBoxes(const std::function<void()>& Action);

// A manager whose scale mode is set as a form's streaming would set it.
TOwned<TsSkinManager> NewManager(TacScaleMode Mode = smOldMode);
DWORD Pixel(TBitmap* Bmp, int X, int Y);
// The image of the section and key (no parent search); null when none.
const TsMaskData* FindImage(const TsSkinManager& m, const String& Section, const String& Key);
// The loaded tables hold what the helper builds from the description:
// sections, images with their pixels, and the described palette entries.
void ExpectTablesOfDescription(const TsSkinManager& loaded, const std::string& Name);
