#include "card_loader.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <pugixml.hpp>
#include <sstream>
#include <type_traits>

#include "interfaces.h"

namespace sim {

namespace {

// Attribute reading with a warning for values that are present but unusable.
class AttributeReader {
  public:
    explicit AttributeReader(std::string path) : path_(std::move(path)) {}

    template <typename T>
    void operator()(pugi::xml_node node, const char* name, T& value) const {
        pugi::xml_attribute a = node.attribute(name);
        if (a && !parse(a.value(), value)) unusable(node, a, describe(value));
    }

    template <typename T>
    void operator()(pugi::xml_node node, const char* name, std::optional<T>& value) const {
        pugi::xml_attribute a = node.attribute(name);
        T v{};
        if (a && parse(a.value(), v)) {
            value = v;
        } else if (a) {
            unusable(node, a, value ? describe(*value) : "none");
        }
    }

    void warn(pugi::xml_node node, const std::string& what) const {
        std::fprintf(stderr, "vantrel-sim: %s: <%s>: %s\n", path_.c_str(), node.name(), what.c_str());
    }

  private:
    void unusable(pugi::xml_node node, pugi::xml_attribute a, const std::string& kept) const {
        std::fprintf(stderr, "vantrel-sim: %s: <%s %s=\"%s\"> is not usable; keeping %s\n", path_.c_str(),
                     node.name(), a.name(), a.value(), kept.c_str());
    }
    static bool parse(const char* text, std::string& out) {
        out = text;
        return true;
    }
    static bool parse(const char* text, bool& out) {
        long long v;
        if (!parse(text, v)) return false;
        out = v != 0;
        return true;
    }
    static bool parse(const char* text, double& out) {
        char* end = nullptr;
        errno = 0;
        double v = std::strtod(text, &end);
        if (end == text || *end != '\0' || errno == ERANGE || !std::isfinite(v)) return false;
        out = v;
        return true;
    }
    template <typename T>
    requires std::is_integral_v<T>
    static bool parse(const char* text, T& out) {
        char* end = nullptr;
        errno = 0;
        long long v = std::strtoll(text, &end, 0);
        if (end == text || *end != '\0' || errno == ERANGE) return false;
        // Unsigned fields also take the bit pattern of a negative 32-bit value (statuses, masks).
        long long lo = std::is_signed_v<T> ? (long long)std::numeric_limits<T>::min()
                                           : std::numeric_limits<std::make_signed_t<T>>::min();
        if (v < lo || v > (long long)std::numeric_limits<T>::max()) return false;
        out = T(v);
        return true;
    }
    template <typename T>
    static std::string describe(const T& value) {
        if constexpr (std::is_same_v<T, std::string>) {
            return "\"" + value + "\"";
        } else {
            std::ostringstream s;
            s << value;
            return s.str();
        }
    }

    std::string path_;
};

// A list given with at least one child replaces the typical list; each child starts from its first entry.
template <typename T, typename ReadOne>
void readList(pugi::xml_node parent, const char* child, size_t limit, const AttributeReader& read,
              std::vector<T>& list, ReadOne readOne) {
    if (!parent.child(child)) return;
    T proto = list.empty() ? T{} : list.front();
    list.clear();
    for (pugi::xml_node n : parent.children(child)) {
        if (list.size() == limit) {
            read.warn(n, "more than " + std::to_string(limit) + " entries; the rest are ignored");
            break;
        }
        T item = proto;
        readOne(n, item);
        list.push_back(std::move(item));
    }
}

void readDelta(pugi::xml_node n, const AttributeReader& read, Delta& d) {
    read(n, "delta", d.value);
    read(n, "deltaMin", d.min);
    read(n, "deltaMax", d.max);
}

void readVoltage(pugi::xml_node n, const AttributeReader& read, PstateVoltage& v) {
    read(n, "domain", v.domain);
    read(n, "editable", v.editable);
    read(n, "voltage", v.voltage);
    readDelta(n, read, v.delta);
}

void readClock(pugi::xml_node n, const AttributeReader& read, PstateClock& c) {
    read(n, "domain", c.domain);
    std::string type = n.attribute("type").value();
    if (type == "range" || type == "1") {
        c.type = 1;
    } else if (type == "single" || type == "0") {
        c.type = 0;
    } else if (!type.empty()) {
        read.warn(n, "type \"" + type + "\" is neither range nor single");
    }
    read(n, "editable", c.editable);
    readDelta(n, read, c.delta);
    read(n, "freq", c.freq);
    read(n, "min", c.minFreq);
    read(n, "max", c.maxFreq);
    read(n, "voltageDomain", c.voltageDomain);
    read(n, "minVoltage", c.minVoltage);
    read(n, "maxVoltage", c.maxVoltage);
}

void readPstates(pugi::xml_node n, const AttributeReader& read, PstateTable& table) {
    if (!n) return;
    read(n, "editable", table.editable);
    readList(n, "pstate", 16, read, table.pstates, [&](pugi::xml_node p, Pstate& ps) {
        read(p, "id", ps.id);
        read(p, "editable", ps.editable);
        readList(p, "clock", 8, read, ps.clocks,
                 [&](pugi::xml_node c, PstateClock& clock) { readClock(c, read, clock); });
        readList(p, "baseVoltage", 4, read, ps.baseVoltages,
                 [&](pugi::xml_node v, PstateVoltage& volt) { readVoltage(v, read, volt); });
    });
    if (pugi::xml_node ov = n.child("overVoltage")) {
        if (!ov.child("voltage")) table.overVoltages.clear();
        readList(ov, "voltage", 4, read, table.overVoltages,
                 [&](pugi::xml_node v, PstateVoltage& volt) { readVoltage(v, read, volt); });
    }
}

void readCoolers(pugi::xml_node n, const AttributeReader& read, CoolerSet& set) {
    if (!n) return;
    read(n, "maxRpm", set.maxRpm);
    readList(n, "cooler", 20, read, set.coolers, [&](pugi::xml_node c, CoolerDesc& d) {
        read(c, "type", d.type);
        read(c, "controller", d.controller);
        read(c, "defaultMin", d.defaultMin);
        read(c, "defaultMax", d.defaultMax);
        read(c, "currentMin", d.currentMin);
        read(c, "currentMax", d.currentMax);
        read(c, "level", d.level);
        read(c, "defaultPolicy", d.defaultPolicy);
        read(c, "policy", d.policy);
        read(c, "target", d.target);
        read(c, "controlType", d.controlType);
        read(c, "active", d.active);
    });
}

template <typename Section>
void readSupport(pugi::xml_node n, const AttributeReader& read, Section& s) {
    read(n, "supported", s.supported);
    read(n, "valid", s.valid);
}

void readPower(pugi::xml_node gpu, const AttributeReader& read, GpuDesc& g) {
    if (pugi::xml_node n = gpu.child("powerTopology")) {
        readSupport(n, read, g.topology);
        readList(n, "domain", 4, read, g.topology.domains, [&](pugi::xml_node d, TopologyDomain& dom) {
            read(d, "id", dom.id);
            read(d, "power", dom.power);
        });
    }
    if (pugi::xml_node n = gpu.child("powerPolicies")) {
        readSupport(n, read, g.power);
        readList(n, "policy", 4, read, g.power.policies, [&](pugi::xml_node p, PowerPolicyDesc& d) {
            read(p, "id", d.id);
            read(p, "domain", d.domain);
            read(p, "min", d.min);
            read(p, "default", d.def);
            read(p, "max", d.max);
            read(p, "limit", d.limit);
        });
    }
    if (pugi::xml_node n = gpu.child("thermalPolicies")) {
        readSupport(n, read, g.thermal);
        readList(n, "policy", 4, read, g.thermal.policies, [&](pugi::xml_node p, ThermalPolicyDesc& d) {
            read(p, "controller", d.controller);
            read(p, "min", d.min);
            read(p, "default", d.def);
            read(p, "max", d.max);
            read(p, "target", d.target);
            read(p, "flags", d.flags);
        });
    }
}

// Interface names in a space-separated attribute; unknown names are reported and skipped.
std::vector<uint32_t> interfaceIds(pugi::xml_node n, const AttributeReader& read) {
    std::vector<uint32_t> ids;
    std::istringstream names(n.attribute("interface").value());
    std::string name;
    while (names >> name) {
        if (const nvapi::InterfaceSpec* info = findInterface(name)) {
            ids.push_back(info->id);
        } else {
            read.warn(n, "unknown interface \"" + name + "\"");
        }
    }
    if (ids.empty() && !n.attribute("interface")) read.warn(n, "no interface named");
    return ids;
}

void readFaultsAndVersions(pugi::xml_node parent, const AttributeReader& read, FaultMap& faults,
                           VersionMap& versions) {
    for (pugi::xml_node n : parent.children("fault")) {
        Fault f;
        read(n, "status", f.status);
        read(n, "after", f.after);
        read(n, "times", f.times);
        if (f.status == 0) {
            read.warn(n, "no non-zero status; ignored");
            continue;
        }
        for (uint32_t id : interfaceIds(n, read)) faults[id] = f;
    }
    for (pugi::xml_node n : parent.children("versions")) {
        std::vector<uint32_t> accepted;
        std::istringstream numbers(n.attribute("accept").value());
        std::string word;
        while (numbers >> word) {
            uint32_t v = 0;
            char* end = nullptr;
            unsigned long parsed = std::strtoul(word.c_str(), &end, 0);
            if (*end != '\0' || parsed > 0xFFFF) {
                read.warn(n, "version \"" + word + "\" is not a number");
                continue;
            }
            v = uint32_t(parsed);
            accepted.push_back(v);
        }
        for (uint32_t id : interfaceIds(n, read)) versions[id] = accepted;
    }
}

void readGpu(pugi::xml_node n, const AttributeReader& read, GpuDesc& g) {
    read(n, "name", g.name);
    read(n, "vbios", g.vbios);
    read(n, "ramType", g.ramType);
    read(n, "busWidth", g.busWidth);
    read(n, "busLocation", g.busLocation);
    read(n, "uuid", g.uuid);
    read(n, "defaultPowerW", g.defaultPowerW);
    if (pugi::xml_node m = n.child("memory")) {
        read(m, "dedicated", g.memory.dedicated);
        read(m, "available", g.memory.available);
        read(m, "system", g.memory.system);
        read(m, "shared", g.memory.shared);
        read(m, "used", g.memory.used);
    }
    if (pugi::xml_node c = n.child("clocks")) {
        read(c, "base", g.clocks.base);
        read(c, "boost", g.clocks.boost);
        read(c, "memory", g.clocks.memory);
    }
    if (pugi::xml_node l = n.child("load")) {
        read(l, "gpu", g.load.gpu);
        read(l, "frameBuffer", g.load.frameBuffer);
        read(l, "swing", g.load.swing);
        read(l, "period", g.load.period);
    }
    readPstates(n.child("pstates"), read, g.pstates);
    if (pugi::xml_node t = n.child("thermal")) {
        readList(t, "sensor", 3, read, g.sensors, [&](pugi::xml_node s, ThermalSensorDesc& d) {
            read(s, "controller", d.controller);
            read(s, "target", d.target);
            read(s, "defaultMin", d.defaultMin);
            read(s, "defaultMax", d.defaultMax);
            read(s, "temp", d.temp);
        });
    }
    if (pugi::xml_node t = n.child("temperature")) {
        read(t, "initial", g.temperature.initial);
        read(t, "ambient", g.temperature.ambient);
        read(t, "perPower", g.temperature.perPower);
        read(t, "perFan", g.temperature.perFan);
        read(t, "tau", g.temperature.tau);
        read(t, "fixed", g.temperature.fixed);
    }
    readCoolers(n.child("coolers"), read, g.coolers);
    readPower(n, read, g);
    readFaultsAndVersions(n, read, g.faults, g.versions);
}

void readSystem(pugi::xml_node root, const AttributeReader& read, CardDesc& card) {
    read(root, "frozen", card.frozen);
    if (pugi::xml_node d = root.child("driver")) {
        read(d, "version", card.driver.version);
        read(d, "changelist", card.driver.changelist);
        read(d, "branch", card.driver.branch);
        read(d, "adapter", card.driver.adapter);
    }
    if (pugi::xml_node c = root.child("chipset")) {
        ChipsetDesc& cs = card.chipset;
        read(c, "vendorId", cs.vendorId);
        read(c, "deviceId", cs.deviceId);
        read(c, "vendorName", cs.vendorName);
        read(c, "chipsetName", cs.chipsetName);
        read(c, "flags", cs.flags);
        read(c, "subSysVendorId", cs.subSysVendorId);
        read(c, "subSysDeviceId", cs.subSysDeviceId);
        read(c, "subSysVendorName", cs.subSysVendorName);
        read(c, "hbVendorId", cs.hbVendorId);
        read(c, "hbDeviceId", cs.hbDeviceId);
        read(c, "hbSubSysVendorId", cs.hbSubSysVendorId);
        read(c, "hbSubSysDeviceId", cs.hbSubSysDeviceId);
    }
    for (pugi::xml_node e : root.children("errorText")) {
        int32_t status = 0;
        if (!e.attribute("status")) {
            read.warn(e, "no status; ignored");
            continue;
        }
        read(e, "status", status);
        card.errorTexts[status] = e.attribute("text").value();
    }
    readFaultsAndVersions(root, read, card.faults, card.versions);
}

}  // namespace

bool loadCardFile(const std::string& path, CardDesc& card, std::string& error) {
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_file(path.c_str());
    if (parsed.status == pugi::status_file_not_found) {
        error = "cannot open the card description";
        return false;
    }
    if (!parsed) {
        error = std::string("not a well-formed card description (") + parsed.description() + " at byte " +
                std::to_string(parsed.offset) + ")";
        return false;
    }
    pugi::xml_node root = doc.document_element();
    if (std::strcmp(root.name(), "card") != 0) {
        error = "the root element is not <card>";
        return false;
    }
    AttributeReader read(path);
    card = typicalCard();
    readSystem(root, read, card);
    // Unlike the other lists, no <gpu> means a card without GPUs.
    GpuDesc proto = card.gpus.front();
    card.gpus.clear();
    for (pugi::xml_node n : root.children("gpu")) {
        if (card.gpus.size() == 64) {
            read.warn(n, "more than 64 GPUs; the rest are ignored");
            break;
        }
        GpuDesc g = proto;
        readGpu(n, read, g);
        card.gpus.push_back(std::move(g));
    }
    return true;
}

}  // namespace sim
