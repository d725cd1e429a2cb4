// Speed of the core containers, strings and binary XML, each printed as a
// ratio against the standard library (or pugixml's text parse) doing the
// same work in the same run. Figures only; no target.
#include "core/SArray.h"
#include "core/SMap.h"
#include "core/TStringT.h"
#include "core/XmlBinary.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "support/BenchClock.h"

using namespace WUI;

namespace {

volatile size_t g_sink;

void Appends()
{
    const int n = 100000;
    double ours = bench::BestOfThreeMs([&] {
        SStringW s;
        for (int i = 0; i < n; ++i) s += static_cast<wchar_t>(L'a' + i % 26);
        g_sink = s.GetLength();
    });
    double base = bench::BestOfThreeMs([&] {
        std::wstring s;
        for (int i = 0; i < n; ++i) s += static_cast<wchar_t>(L'a' + i % 26);
        g_sink = s.size();
    });
    bench::Report("100k single-character appends", ours, "std::wstring", base);
}

void Replace()
{
    std::wstring text;
    while (text.size() < 512 * 1024) text += L"lorem ipsum dolor sit amet ";
    double ours = bench::BestOfThreeMs([&] {
        SStringW s(text.c_str(), static_cast<int>(text.size()));
        g_sink = s.Replace(L"ipsum", L"IPSUM-REPLACED");
    });
    double base = bench::BestOfThreeMs([&] {
        std::wstring s(text), out;
        out.reserve(s.size() * 2);
        size_t at = 0, hit;
        while ((hit = s.find(L"ipsum", at)) != std::wstring::npos) {
            out.append(s, at, hit - at);
            out += L"IPSUM-REPLACED";
            at = hit + 5;
        }
        out.append(s, at, std::wstring::npos);
        g_sink = out.size();
    });
    bench::Report("1 MB Replace", ours, "std::wstring find", base);
}

void ArrayAdds()
{
    const int n = 1000000;
    double ours = bench::BestOfThreeMs([&] {
        SArray<int> a;
        for (int i = 0; i < n; ++i) a.Add(i);
        g_sink = a.GetCount();
    });
    double base = bench::BestOfThreeMs([&] {
        std::vector<int> a;
        for (int i = 0; i < n; ++i) a.push_back(i);
        g_sink = a.size();
    });
    bench::Report("1M SArray adds", ours, "std::vector", base);
}

void MapOps()
{
    const int n = 100000;
    std::vector<SStringW> keys;
    std::vector<std::wstring> stdKeys;
    for (int i = 0; i < n; ++i) {
        SStringW k;
        k.Format(L"key-%d", i * 7919);
        keys.push_back(k);
        stdKeys.push_back(k.c_str());
    }
    SMap<SStringW, int> map;
    std::unordered_map<std::wstring, int> stdMap;
    double ins = bench::BestOfThreeMs([&] {
        map.RemoveAll();
        for (int i = 0; i < n; ++i) map.SetValue(keys[i], i);
    });
    double stdIns = bench::BestOfThreeMs([&] {
        stdMap.clear();
        for (int i = 0; i < n; ++i) stdMap[stdKeys[i]] = i;
    });
    bench::Report("100k SMap inserts", ins, "std::unordered_map", stdIns);
    double look = bench::BestOfThreeMs([&] {
        size_t found = 0;
        for (int i = 0; i < n; ++i) found += map.Lookup(keys[i]) != nullptr;
        g_sink = found;
    });
    double stdLook = bench::BestOfThreeMs([&] {
        size_t found = 0;
        for (int i = 0; i < n; ++i) found += stdMap.count(stdKeys[i]);
        g_sink = found;
    });
    bench::Report("100k SMap lookups", look, "std::unordered_map", stdLook);
    // Removes alone: the maps are refilled between runs, outside the timing.
    double rem = 1e30, stdRem = 1e30;
    for (int run = 0; run < 3; ++run) {
        double t0 = bench::Now();
        for (int i = 0; i < n; ++i) map.RemoveKey(keys[i]);
        rem = std::min(rem, (bench::Now() - t0) * 1000);
        t0 = bench::Now();
        for (int i = 0; i < n; ++i) stdMap.erase(stdKeys[i]);
        stdRem = std::min(stdRem, (bench::Now() - t0) * 1000);
        for (int i = 0; i < n; ++i) map.SetValue(keys[i], i);
        for (int i = 0; i < n; ++i) stdMap[stdKeys[i]] = i;
    }
    bench::Report("100k SMap removes", rem, "std::unordered_map", stdRem);
}

void BinaryXml()
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child(L"root");
    std::wostringstream text;
    int i = 0;
    for (;;) {
        pugi::xml_node item = root.append_child(L"item");
        item.append_attribute(L"id").set_value(i);
        item.append_attribute(L"kind").set_value(i % 3 ? L"file" : L"folder");
        item.append_child(pugi::node_pcdata).set_value(L"some text content of the item");
        if (++i % 1000 == 0) {
            text.str(L"");
            doc.save(text, L"", pugi::format_raw);
            if (text.str().size() * sizeof(wchar_t) >= (1u << 20)) break;
        }
    }
    std::wstring xml = text.str();
    XmlBinaryBuffer bin;
    double ours = bench::BestOfThreeMs([&] {
        XmlSaveBinaryBuffer(doc, bin);
        pugi::xml_document back;
        g_sink = XmlLoadBinaryBuffer(back, bin.data(), bin.size());
    });
    double base = bench::BestOfThreeMs([&] {
        pugi::xml_document back;
        g_sink = back.load_buffer(xml.data(), xml.size() * sizeof(wchar_t), pugi::parse_default, pugi::encoding_wchar)
                     .status;
    });
    double save = bench::BestOfThreeMs([&] { XmlSaveBinaryBuffer(doc, bin); });
    double load = bench::BestOfThreeMs([&] {
        pugi::xml_document back;
        g_sink = XmlLoadBinaryBuffer(back, bin.data(), bin.size());
    });
    std::printf("(document: %d items, %u KB text, %u KB binary; save %.2f ms, load %.2f ms)\n", i,
                static_cast<unsigned>(xml.size() * sizeof(wchar_t) / 1024), static_cast<unsigned>(bin.size() / 1024), save, load);
    bench::Report("1 MB binary XML save + load", ours, "pugixml text parse", base);
}

} // namespace

int main()
{
    std::printf("Core benchmark under Wine; %s\n"
                "Ratios are ours / baseline (below 1: faster).\n\n", bench::ExecutionNote());
    Appends();
    Replace();
    ArrayAdds();
    MapOps();
    BinaryXml();
    return 0;
}
