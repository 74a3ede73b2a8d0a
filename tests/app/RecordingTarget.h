// A stand-in for the main window's controls that keeps what a run changed.
#pragma once

#include "InventoryTarget.h"
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class TRecordingTarget : public TInventoryTarget {
public:
    void SetCellText(int ACol, int ARow, const String& Value) override
    {
        const String change = L"cell " + std::to_wstring(ACol) + L"," + std::to_wstring(ARow) + L"=" + Value;
        Check(change);
        Cells[{ACol, ARow}] = Value;
        Note(change);
    }
    void SetColWidth(int ACol, int Value) override
    {
        const String change = L"width " + std::to_wstring(ACol) + L"=" + std::to_wstring(Value);
        Check(change);
        Widths[ACol] = Value;
        Note(change);
    }
    void SetGaugeMaximum(int Value) override
    {
        GaugeMaximum = Value;
        Note(L"maximum " + std::to_wstring(Value));
    }
    void SetGaugePosition(int Value) override
    {
        GaugePositions.push_back(Value);
        Note(L"position " + std::to_wstring(Value));
    }
    void SetGaugeVisible(bool Value) override
    {
        GaugeVisible = Value;
        Note(Value ? L"gauge shown" : L"gauge hidden");
    }
    void SetCancelEnabled(bool Value) override
    {
        CancelEnabled = Value;
        Note(Value ? L"cancel enabled" : L"cancel disabled");
    }

    String Cell(int ACol, int ARow) const
    {
        auto found = Cells.find({ACol, ARow});
        return found == Cells.end() ? String() : found->second;
    }
    int Width(int ACol) const
    {
        auto found = Widths.find(ACol);
        return found == Widths.end() ? -1 : found->second;
    }
    // Cells of a row that hold text.
    std::map<int, String> Row(int ARow) const
    {
        std::map<int, String> row;
        for (const auto& [at, text] : Cells)
            if (at.second == ARow && !text.empty())
                row[at.first] = text;
        return row;
    }

    std::map<std::pair<int, int>, String> Cells;
    std::vector<String> Log;  // every change in the order it came
    std::map<int, int> Widths;
    int GaugeMaximum = -1;
    std::vector<int> GaugePositions;
    bool GaugeVisible = false;
    bool CancelEnabled = false;
    // Called with each cell or width change before it is made; it may raise
    // to refuse the change, as a window that cannot take it would.
    std::function<void(const String& Change)> Refuse;

private:
    void Check(const String& change)
    {
        if (Refuse)
            Refuse(change);
    }
    void Note(const String& change) { Log.push_back(change); }
};
