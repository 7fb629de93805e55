#include "data/definitions_text.h"

#include <string>
#include <vector>

#include "data/record_layouts.h"

namespace qz::data {

namespace {

char KindLetter(FieldKind kind) {
  switch (kind) {
    case FieldKind::kAlpha:
      return 'A';
    case FieldKind::kKanji:
      return 'K';
    case FieldKind::kNumeric:
      return 'N';
  }
  return 'A';
}

std::string KeyText(const FileLayout& l) {
  std::string out;
  for (const std::string& name : l.key_fields) {
    const FieldDef* f = l.Find(name);
    if (!out.empty()) out += ',';
    out += std::to_string(f->pos) + ':' + std::to_string(f->len) + ':' + KindLetter(f->kind);
  }
  out += l.duplicates ? ";DUP" : ";UNIQUE";
  return out;
}

struct FileEntry {
  std::string file;
  std::vector<const FileLayout*> keyed;  // one layout per definition, key order
};

}  // namespace

std::string DefinitionsIniText() {
  std::vector<FileEntry> files;
  for (const FileLayout* l : AllLayouts()) {
    FileEntry* entry = nullptr;
    for (FileEntry& e : files) {
      if (e.file == l->file) entry = &e;
    }
    if (entry == nullptr) entry = &files.emplace_back(FileEntry{l->file, {}});
    bool known = false;
    for (const FileLayout* k : entry->keyed) known = known || k->definition == l->definition;
    if (!known) entry->keyed.push_back(l);
  }

  std::string out = "[FILES]\r\n";
  for (const FileEntry& e : files) out += e.file + "=" + std::to_string(RecordLengthOf(e.file)) + "\r\n";
  for (const FileEntry& e : files) {
    out += "\r\n[" + e.file + "]\r\n";
    for (std::size_t k = 0; k < e.keyed.size(); ++k) {
      out += "KEY" + std::to_string(k) + "=" + KeyText(*e.keyed[k]) + "\r\n";
    }
  }
  out += "\r\n[DEFINITIONS]\r\n";
  for (const FileEntry& e : files) {
    for (std::size_t k = 0; k < e.keyed.size(); ++k) {
      out += e.keyed[k]->definition + "=" + e.file + "," + std::to_string(k) + "\r\n";
    }
  }
  return out;
}

}  // namespace qz::data
