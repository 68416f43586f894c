#include "UsbDeviceChain.h"

#include <cwctype>

namespace {

bool isUsbEntry(const std::wstring& id)
{
    static const std::wstring prefix = L"USB\\";
    if (id.size() <= prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::towupper(static_cast<std::wint_t>(id[i])) != static_cast<std::wint_t>(prefix[i]))
            return false;
    }
    return true;
}

} // namespace

UsbNameMatching::Result UsbDeviceChain::identityOf(const std::vector<std::wstring>& instanceIds)
{
    for (const std::wstring& id : instanceIds) {
        if (!isUsbEntry(id))
            continue;
        const UsbNameMatching::Result ids = UsbNameMatching::splitHardwareId(id);
        if (ids.found && !ids.vendorId.empty() && !ids.productId.empty())
            return ids;
    }
    return {};
}
