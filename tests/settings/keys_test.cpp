#include "settings/keys.h"

#include <pugixml.hpp>
#include <set>
#include <string>
#include <utility>

#include "settings/settings_writer.h"
#include "settings_test_support.h"

namespace {

using Node = std::pair<std::string, std::string>;  // element path, attribute ("" for the text)

// Every value the shipped document holds: the text of an element without child
// elements, and every attribute.
void collect(pugi::xml_node element, const std::string& path, std::set<Node>& out) {
    bool hasChildElement = false;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element) {
            hasChildElement = true;
            collect(child, path + "/" + child.name(), out);
        }
    if (!hasChildElement && element.first_child().type() == pugi::node_pcdata) out.insert({path, ""});
    for (pugi::xml_attribute attribute : element.attributes()) out.insert({path, attribute.name()});
}

bool isWholeNumber(const std::string& text) {
    size_t digits = text.starts_with('-') ? 1 : 0;
    return digits < text.size() && text.find_first_not_of("0123456789", digits) == std::string::npos;
}

}  // namespace

// A misspelled or forgotten declaration would read the shipped value forever and
// write a node no other version knows.
TEST(SettingsKeys, AreExactlyTheValuesOfTheShippedDocument) {
    const pugi::xml_node root = settings::shippedDocument().document_element();
    std::set<Node> shipped;
    collect(root, std::string("/") + root.name(), shipped);

    std::set<Node> declared;
    for (const settings::KeyInfo& key : settings::declaredKeys()) {
        const Node node{std::string(key.path), std::string(key.attribute)};
        EXPECT_TRUE(declared.insert(node).second) << "declared twice: " << node.first << " " << node.second;
        EXPECT_TRUE(shipped.contains(node))
            << "not in the shipped document: " << node.first << " " << node.second;
    }
    for (const Node& node : shipped)
        EXPECT_TRUE(declared.contains(node)) << "not declared: " << node.first << " " << node.second;
}

TEST(SettingsKeys, ShippedValuesFitTheirCoding) {
    const pugi::xml_document& d = settings::shippedDocument();
    for (const settings::KeyInfo& key : settings::declaredKeys()) {
        const pugi::xml_node element = d.select_node(std::string(key.path).c_str()).node();
        const std::string text = key.attribute.empty()
                                     ? element.text().get()
                                     : element.attribute(std::string(key.attribute).c_str()).value();
        const bool fits = key.coding == settings::Coding::Integer ? isWholeNumber(text)
                          : key.coding == settings::Coding::Text  ? true
                                                                  : text == "0" || text == "1";
        EXPECT_TRUE(fits) << key.path << " " << key.attribute << " \"" << text << "\"";
    }
}

using TypedAccess = SettingsFolder;

// Typed writes land on the node the untyped reader sees, coded as stored files
// have them, and read back through the same keys.
TEST_F(TypedAccess, WritesTheStoredCodingAndReadsItBack) {
    namespace keys = settings::keys;
    {
        settings::SettingsWriter w(path());
        w.write(keys::kStartMinimized, true);
        w.write(keys::kUpdateCheck, -1);
        w.write(keys::kHotKeyModifiers, 6);
        w.write(keys::kFanMapPoints[6].speed, 95);
        w.write(keys::kMonitorSensors[9].active, true);
        w.write(keys::kMonitorSensors[9].max, "3k");
        w.write(keys::kScreenshotFolder, "/tmp/shots dir");
        ASSERT_TRUE(w.save());
    }
    const settings::SettingsReader r(path());
    EXPECT_EQ(r.text("/Vantrel/GeneralDlg/StartMinized"), "1");
    EXPECT_EQ(r.text("/Vantrel/GeneralDlg/UpadteCheck"), "-1");
    EXPECT_EQ(r.text("/Vantrel/UIDlg/HotKey", "Modifiers"), "6");
    EXPECT_EQ(r.text("/Vantrel/UIDlg/HotKey", "VirtualKeyCode"), "0");
    EXPECT_EQ(r.text("/Vantrel/FanDlg/FanMap", "SeverY"), "95");
    EXPECT_EQ(r.text("/Vantrel/MonitoringDlg/ShaderClock"), "1");
    EXPECT_EQ(r.text("/Vantrel/MonitoringDlg/ShaderClock", "Max"), "3k");  // as typed

    EXPECT_TRUE(r.read(keys::kStartMinimized));
    EXPECT_EQ(r.read(keys::kUpdateCheck), -1);
    EXPECT_EQ(r.read(keys::kHotKeyModifiers), 6);
    EXPECT_EQ(r.read(keys::kFanMapPoints[6].speed), 95);
    EXPECT_TRUE(r.read(keys::kMonitorSensors[9].active));
    EXPECT_EQ(r.read(keys::kMonitorSensors[9].max), "3k");
    EXPECT_EQ(r.read(keys::kScreenshotFolder), "/tmp/shots dir");
}

// The two flag codings differ on hand-edited texts; each key keeps its own.
TEST_F(TypedAccess, FlagsDecodeByTheirKeysCoding) {
    std::string text = shippedWith("<EnableFan>0<", "<EnableFan>yes<");
    text.replace(text.find("<blLogToFile>0<"), 15, "<blLogToFile>yes<");
    writeFile(text);
    const settings::SettingsReader r(path());
    EXPECT_TRUE(r.read(settings::keys::kEnableFan));   // text flag: anything but "0"
    EXPECT_FALSE(r.read(settings::keys::kLogToFile));  // number flag: _wtol("yes") is 0
}
