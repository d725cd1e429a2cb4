#include "render/SSkinFactoryMgr.h"

#include "render/SSkinButton.h"
#include "render/SSkinColorRect.h"
#include "render/SSkinGradation.h"
#include "render/SSkinImgList.h"
#include "render/SSkinScrollbar.h"

namespace WUI {

SSkinFactoryMgr::SSkinFactoryMgr() { RegisterStandardSkins(); }

SSkinFactoryMgr::~SSkinFactoryMgr()
{
    for (auto* n = m_factories.First(); n; n = m_factories.Next(n)) delete n->value;
    m_factories.RemoveAll();
}

void SSkinFactoryMgr::RegisterStandardSkins()
{
    RegisterFactory(TplSkinFactory<SSkinImgList>());
    RegisterFactory(TplSkinFactory<SSkinImgFrame>());
    RegisterFactory(TplSkinFactory<SSkinButton>());
    RegisterFactory(TplSkinFactory<SSkinGradation>());
    RegisterFactory(TplSkinFactory<SSkinScrollbar>());
    RegisterFactory(TplSkinFactory<SSkinColorRect>());
}

bool SSkinFactoryMgr::RegisterFactory(const SSkinFactory& factory)
{
    const SStringW& tag = factory.GetTypeName();
    if (m_factories.Lookup(tag)) return false;
    SSkinFactory* copy = factory.Clone();
    if (!copy) return false;
    if (!m_factories.SetValue(tag, copy)) {
        delete copy;
        return false;
    }
    return true;
}

bool SSkinFactoryMgr::UnregisterFactory(const SStringW& tag)
{
    auto* node = m_factories.Lookup(tag);
    if (!node) return false;
    delete node->value;
    return m_factories.RemoveKey(tag);
}

ISkinObj* SSkinFactoryMgr::CreateSkin(const SStringW& tag) const
{
    auto* node = m_factories.Lookup(tag);
    return node ? node->value->NewSkin() : nullptr;
}

}  // namespace WUI
