#pragma once
#include "core/SAutoRefPtr.h"
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace WUI {

// One language's translation table.
struct ITranslator : IObjRef {
    // kind 1: data is the pugi::xml_node of the "language" element; 0 for other kinds.
    virtual BOOL Load(LPVOID data, UINT kind) = 0;
    virtual std::wstring GetName() = 0;
    virtual GUID GetGuid() = 0;
    // 1 with the translation in out; 0 when the text is not in the table.
    virtual BOOL Translate(const std::wstring &source, const std::wstring &context, std::wstring &out) = 0;
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
    virtual std::wstring Translate(const std::wstring &source, const std::wstring &context) = 0;
    virtual ~ITranslatorMgr() = default;
};

class STranslator : public TObjRefImpl<ITranslator> {
public:
    BOOL Load(LPVOID data, UINT kind) override;
    std::wstring GetName() override { return m_name; }
    GUID GetGuid() override { return m_guid; }
    BOOL Translate(const std::wstring &source, const std::wstring &context, std::wstring &out) override;

    // Texts over 99 characters are refused; GUID_NULL for those and for bad text.
    static GUID ParseGuid(const wchar_t *text);

private:
    struct Message {
        std::wstring source;
        std::wstring translation;
    };
    struct Context {
        std::wstring name;
        std::vector<Message> messages;
    };

    std::wstring m_name;
    GUID m_guid = GUID_NULL;
    std::vector<Context> m_contexts;
};

class STranslatorMgr : public TObjRefImpl<ITranslatorMgr> {
public:
    ~STranslatorMgr() override;
    BOOL CreateTranslator(ITranslator **out) override;
    BOOL InstallTranslator(ITranslator *translator) override;
    BOOL UninstallTranslator(REFGUID guid) override;
    std::wstring Translate(const std::wstring &source, const std::wstring &context) override;

private:
    std::vector<ITranslator *> m_list; // newest first, one reference each
};

// Translates nothing and installs nothing.
class SNullTranslator : public TObjRefImpl<ITranslatorMgr> {
public:
    BOOL CreateTranslator(ITranslator **out) override;
    BOOL InstallTranslator(ITranslator *) override { return FALSE; }
    BOOL UninstallTranslator(REFGUID) override { return FALSE; }
    std::wstring Translate(const std::wstring &source, const std::wstring &) override { return source; }
};

// Makes a translator manager (count 1) in out; returns 1.
BOOL CreateTranslatorMgr(ITranslatorMgr **out);

} // namespace WUI
