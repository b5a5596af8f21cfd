#include "settings/tree_access.h"

namespace settings {

namespace {

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(const char* text) {
    for (; *text; ++text)
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r') return false;
    return true;
}

pugi::xml_node childElement(pugi::xml_node parent, std::string_view name) {
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && name == child.name()) return child;
    return {};
}

// Appends an element so that a document laid out with one tab per level stays so:
// the new element goes before the parent's closing indentation.
pugi::xml_node appendIndented(pugi::xml_node parent, std::string_view name, size_t depth) {
    std::string indent(depth + 2, '\t');  // a new line, then one tab per level
    indent.front() = '\n';
    pugi::xml_node last = parent.last_child();
    pugi::xml_node element;
    if (!last) {
        parent.append_child(pugi::node_pcdata).set_value(indent.c_str());
        element = parent.append_child(pugi::node_element);
        parent.append_child(pugi::node_pcdata).set_value(indent.substr(0, indent.size() - 1).c_str());
    } else if (last.type() == pugi::node_pcdata && isBlank(last.value())) {
        parent.insert_child_before(pugi::node_pcdata, last).set_value(indent.c_str());
        element = parent.insert_child_before(pugi::node_element, last);
    } else {
        element = parent.append_child(pugi::node_element);
    }
    element.set_name(std::string(name).c_str());
    return element;
}

}  // namespace

bool isPlainXmlName(std::string_view name) {
    if (name.empty() || !isLetter(name.front())) return false;
    for (char c : name)
        if (!isLetter(c) && !isDigit(c) && c != '-' && c != '.') return false;
    return true;
}

std::vector<std::string_view> pathSteps(std::string_view path) {
    std::vector<std::string_view> steps;
    if (path.empty() || path.front() != '/') return {};
    size_t start = 1;
    while (true) {
        const size_t end = path.find('/', start);
        const std::string_view step = path.substr(start, end == std::string_view::npos ? end : end - start);
        if (!isPlainXmlName(step)) return {};
        steps.push_back(step);
        if (end == std::string_view::npos) return steps;
        start = end + 1;
    }
}

pugi::xml_node findElement(const pugi::xml_document& document, std::string_view path) {
    const std::vector<std::string_view> steps = pathSteps(path);
    pugi::xml_node node = document.document_element();
    if (steps.empty() || !node || steps.front() != node.name()) return {};
    for (size_t i = 1; i < steps.size() && node; ++i) node = childElement(node, steps[i]);
    return node;
}

pugi::xml_node makeElement(pugi::xml_document& document, std::string_view path) {
    const std::vector<std::string_view> steps = pathSteps(path);
    pugi::xml_node node = document.document_element();
    if (steps.empty() || !node || steps.front() != node.name()) return {};
    for (size_t i = 1; i < steps.size(); ++i) {
        pugi::xml_node child = childElement(node, steps[i]);
        node = child ? child : appendIndented(node, steps[i], i - 1);
    }
    return node;
}

std::string elementText(pugi::xml_node element) {
    pugi::xml_node first = element.first_child();
    if (first && !first.next_sibling() &&
        (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata))
        return first.value();  // the usual leaf: one text
    std::string text;
    // Depth-first walk without recursion, so a deeply nested hand edit cannot
    // exhaust the stack.
    pugi::xml_node node = first;
    while (node) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) text += node.value();
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && node != element && !node.next_sibling()) node = node.parent();
        if (!node || node == element) break;
        node = node.next_sibling();
    }
    return text;
}

void replaceText(pugi::xml_node element, std::string_view text) {
    element.remove_children();
    if (!text.empty()) element.append_child(pugi::node_pcdata).set_value(std::string(text).c_str());
}

}  // namespace settings
