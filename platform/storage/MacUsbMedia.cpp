#include "MacUsbMedia.h"

#include "MacToolText.h"

#include <QXmlStreamReader>

#include <cctype>

namespace {

// Deeper than a USB tree of hubs, devices, media and volumes ever goes.
constexpr int kMaxDepth = 48;

// One dictionary of the list, reduced to what the lookup needs.
struct Node
{
    std::string vendorId;
    std::string productId;
    std::vector<std::string> bsdNames; // those not under a nested device
    std::vector<Node> devices;         // nested dictionaries that carry an identity
    bool isDevice() const { return !vendorId.empty() || !productId.empty(); }
};

class PlistWalk
{
public:
    explicit PlistWalk(const std::string& text) : xml(QByteArray::fromStdString(text)) {}

    // The top level's dictionaries; false when the text is no well-formed list within the
    // depth limit.
    bool read(Node& top)
    {
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() != u"plist") {
                if (!value(top, 1))
                    return false;
            }
        }
        return !xml.hasError();
    }

private:
    // Reads the value whose start tag was just read; what it holds goes into parent.
    bool value(Node& parent, int depth)
    {
        if (depth > kMaxDepth)
            return false;
        if (xml.name() == u"dict") {
            Node node;
            if (!dict(node, depth))
                return false;
            adopt(parent, std::move(node));
            return true;
        }
        if (xml.name() == u"array") {
            while (xml.readNextStartElement()) {
                if (!value(parent, depth + 1))
                    return false;
            }
            return !xml.hasError();
        }
        xml.skipCurrentElement();
        return !xml.hasError();
    }

    bool dict(Node& node, int depth)
    {
        QString key;
        while (xml.readNextStartElement()) {
            if (xml.name() == u"key") {
                key = xml.readElementText();
                continue;
            }
            if (xml.name() == u"string") {
                const std::string text = xml.readElementText().toStdString();
                if (key == u"vendor_id")
                    node.vendorId = MacUsbMedia::usbIdOf(text);
                else if (key == u"product_id")
                    node.productId = MacUsbMedia::usbIdOf(text);
                else if (key == u"bsd_name" && MacToolText::isDiskIdentifier(text))
                    node.bsdNames.push_back(text);
            } else if (!value(node, depth + 1)) {
                return false;
            }
            key.clear();
        }
        return !xml.hasError();
    }

    // A nested device stays itself; anything else (media, volumes) lends its disks to the
    // dictionary around it.
    static void adopt(Node& parent, Node&& child)
    {
        if (child.isDevice()) {
            parent.devices.push_back(std::move(child));
            return;
        }
        parent.bsdNames.insert(parent.bsdNames.end(), child.bsdNames.begin(), child.bsdNames.end());
        for (Node& device : child.devices)
            parent.devices.push_back(std::move(device));
    }

    QXmlStreamReader xml;
};

void collect(const Node& device, std::vector<MacUsbMedia::Disk>& out)
{
    if (!device.vendorId.empty() && !device.productId.empty()) {
        for (const std::string& name : device.bsdNames)
            out.push_back({name, device.vendorId, device.productId});
    }
    for (const Node& inner : device.devices)
        collect(inner, out);
}

} // namespace

std::vector<MacUsbMedia::Disk> MacUsbMedia::disksOf(const std::string& plistXml)
{
    Node top;
    if (!PlistWalk(plistXml).read(top))
        return {};
    std::vector<Disk> disks;
    for (const Node& device : top.devices)
        collect(device, disks);
    return disks;
}

std::string MacUsbMedia::usbIdOf(const std::string& field)
{
    const std::string text = MacToolText::trimmed(field);
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
        return {};
    std::string digits;
    std::size_t at = 2;
    for (; at < text.size() && std::isxdigit(static_cast<unsigned char>(text[at])); ++at)
        digits += static_cast<char>(std::toupper(static_cast<unsigned char>(text[at])));
    // The number ends at the text's end or at a blank before the vendor's name.
    if (digits.empty() || digits.size() > 4 || (at < text.size() && text[at] != ' '))
        return {};
    return std::string(4 - digits.size(), '0') + digits;
}

std::string MacUsbMedia::bsdNameOfDevice(const std::string& devicePath)
{
    const std::string prefix = "/dev/";
    if (devicePath.rfind(prefix, 0) != 0)
        return {};
    const std::string name = devicePath.substr(prefix.size());
    return MacToolText::isDiskIdentifier(name) ? name : std::string();
}
