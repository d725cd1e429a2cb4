#pragma once
#include "core/SAutoRefPtr.h"
#include "core/SArray.h"
#include "core/SList.h"
#include "core/TStringT.h"
#include <pugixml.hpp>

namespace WUI {

// One language's translation table.
struct ITranslator : IObjRef {
    // kind 1: data is the pugi::xml_node of the "language" element; 0 for other kinds.
    virtual BOOL Load(LPVOID data, UINT kind) = 0;
    virtual SStringW GetName() = 0;
    virtual GUID GetGuid() = 0;
    // 1 with the translation in out; 0 when the text is not in the table.
    virtual BOOL Translate(const SStringW &source, const SStringW &context, SStringW &out) = 0;
    virtual ~ITranslator() = default;
};

// The installed translators, asked newest first.
struct ITranslatorMgr : IObjRef {
    // A new empty translator (count 1) in out; 0 when the manager makes none.
    virtual BOOL CreateTranslator(ITranslator **out) = 0;
    // 0 when a translator with the same GUID is installed already.
    virtual BOOL InstallTranslator(ITranslator *translator) = 0;
    // 0 when no installed translator has the GUID.
    virtual BOOL UninstallTranslator(REFGUID guid) = 0;
    // The source itself when nobody translates it.
    virtual SStringW Translate(const SStringW &source, const SStringW &context) = 0;
    virtual ~ITranslatorMgr() = default;
};

class STranslator : public TObjRefImpl<ITranslator> {
public:
    BOOL Load(LPVOID data, UINT kind) override;
    SStringW GetName() override { return m_name; }
    GUID GetGuid() override { return m_guid; }
    BOOL Translate(const SStringW &source, const SStringW &context, SStringW &out) override;

    // Texts over 99 characters are refused; GUID_NULL for those and for bad text.
    static GUID ParseGuid(const wchar_t *text);

private:
    struct Message {
        SStringW source;
        SStringW translation;
    };
    struct Context {
        SStringW name;
        SArray<Message> messages; // sorted by source
    };

    SStringW m_name;
    GUID m_guid = GUID_NULL;
    SArray<Context> m_contexts; // sorted by name
};

class STranslatorMgr : public TObjRefImpl<ITranslatorMgr> {
public:
    ~STranslatorMgr() override;
    BOOL CreateTranslator(ITranslator **out) override;
    BOOL InstallTranslator(ITranslator *translator) override;
    BOOL UninstallTranslator(REFGUID guid) override;
    SStringW Translate(const SStringW &source, const SStringW &context) override;

private:
    SList<ITranslator *> m_list; // newest first, one reference each
};

// Translates nothing and installs nothing.
class SNullTranslator : public TObjRefImpl<ITranslatorMgr> {
public:
    BOOL CreateTranslator(ITranslator **out) override;
    BOOL InstallTranslator(ITranslator *) override { return FALSE; }
    BOOL UninstallTranslator(REFGUID) override { return FALSE; }
    SStringW Translate(const SStringW &source, const SStringW &) override { return source; }
};

// Makes a translator manager (count 1) in out; returns 1.
BOOL CreateTranslatorMgr(ITranslatorMgr **out);

} // namespace WUI
