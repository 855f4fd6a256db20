// odf_text.cpp: plain text as ODF paragraph content (see odf_text.h).
#include "host/odt/odf_text.h"

#include <string>

namespace odt {

namespace {

class OdfTextWriter {
 public:
  OdfTextWriter(pugi::xml_node parent, pugi::xml_node before) : parent_(parent), before_(before) {}

  void Char(char c) {
    if (c == ' ') return Blank();
    FlushBlanks();
    if (c == '\t' || c == '\n') {
      FlushRun();
      Element(c == '\t' ? "text:tab" : "text:line-break");
      afterBlank_ = true;
      return;
    }
    if (static_cast<unsigned char>(c) < 0x20) return;  // not allowed in XML 1.0
    run_ += c;
    afterBlank_ = false;
  }

  void Finish() {
    FlushBlanks();
    FlushRun();
  }

 private:
  // A blank after text stays literal; further blanks (or a leading one) are counted.
  void Blank() {
    if (afterBlank_) {
      ++pendingBlanks_;
      return;
    }
    run_ += ' ';
    afterBlank_ = true;
  }

  void FlushBlanks() {
    if (pendingBlanks_ == 0) return;
    FlushRun();
    pugi::xml_node s = Element("text:s");
    if (pendingBlanks_ > 1) s.append_attribute("text:c") = pendingBlanks_;
    pendingBlanks_ = 0;
  }

  void FlushRun() {
    if (run_.empty()) return;
    Insert(pugi::node_pcdata).set_value(run_.c_str());
    run_.clear();
  }

  pugi::xml_node Element(const char* name) {
    pugi::xml_node n = Insert(pugi::node_element);
    n.set_name(name);
    return n;
  }

  pugi::xml_node Insert(pugi::xml_node_type type) {
    return before_ ? parent_.insert_child_before(type, before_) : parent_.append_child(type);
  }

  pugi::xml_node parent_;
  pugi::xml_node before_;
  std::string run_;
  int pendingBlanks_ = 0;
  bool afterBlank_ = true;  // a leading blank would be dropped by ODF
};

}  // namespace

void InsertOdfText(pugi::xml_node parent, pugi::xml_node before, std::string_view utf8) {
  OdfTextWriter writer(parent, before);
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    char c = utf8[i];
    if (c == '\r') {
      if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
      c = '\n';
    }
    writer.Char(c);
  }
  writer.Finish();
}

}  // namespace odt
