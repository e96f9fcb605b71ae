#include "DdeAtomTable.h"

#include <cctype>

namespace {

constexpr std::size_t kMaxAtomLength = 255;

} // namespace

std::string DdeAtomTable::Key(const std::string& text) {
    std::string key = text;
    for (char& c : key) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

std::uintptr_t DdeAtomTable::Add(const std::string& text) {
    if (text.empty() || text.size() > kMaxAtomLength) {
        return 0;
    }
    const std::string key = Key(text);
    const auto found = m_byKey.find(key);
    if (found != m_byKey.end()) {
        ++m_atoms[found->second].references;
        return found->second;
    }
    const std::uintptr_t atom = m_next++;
    m_atoms[atom] = Atom{text, 1};
    m_byKey[key] = atom;
    return atom;
}

bool DdeAtomTable::AddRef(std::uintptr_t atom) {
    const auto found = m_atoms.find(atom);
    if (found == m_atoms.end()) {
        return false;
    }
    ++found->second.references;
    return true;
}

bool DdeAtomTable::Release(std::uintptr_t atom) {
    const auto found = m_atoms.find(atom);
    if (found == m_atoms.end()) {
        return false;
    }
    if (--found->second.references == 0) {
        m_byKey.erase(Key(found->second.text));
        m_atoms.erase(found);
    }
    return true;
}

std::string DdeAtomTable::Text(std::uintptr_t atom) const {
    const auto found = m_atoms.find(atom);
    return found == m_atoms.end() ? std::string() : found->second.text;
}

std::uintptr_t DdeAtomTable::Find(const std::string& text) const {
    const auto found = m_byKey.find(Key(text));
    return found == m_byKey.end() ? 0 : found->second;
}
