#include "app/workbook/xml_sax.h"

#include <expat.h>
#include <utility>

#include <cstring>

#include "app/errors.h"
#include "app/workbook/xlsx_limits.h"

namespace app {

std::string_view LocalName(const char* name) {
  const char* colon = std::strrchr(name, ':');
  return colon ? std::string_view(colon + 1) : std::string_view(name);
}

const char* Attr(const char** attrs, std::string_view local) {
  for (; attrs[0] != nullptr; attrs += 2) {
    if (LocalName(attrs[0]) == local) return attrs[1];
  }
  return nullptr;
}

TXmlSax::TXmlSax(TXmlHandler& handler, std::string part)
    : handler_(handler), part_(std::move(part)), parser_(XML_ParserCreate("UTF-8")) {
  if (parser_ == nullptr) throw std::bad_alloc();
  auto* p = static_cast<XML_Parser>(parser_);
  XML_SetUserData(p, this);
  XML_SetElementHandler(p, &TXmlSax::OnStart, &TXmlSax::OnEnd);
  XML_SetCharacterDataHandler(p, &TXmlSax::OnText);
  XML_SetStartDoctypeDeclHandler(p, &TXmlSax::OnDoctype);
  XML_SetEntityDeclHandler(p, &TXmlSax::OnEntity);
  XML_SetParamEntityParsing(p, XML_PARAM_ENTITY_PARSING_NEVER);
}

TXmlSax::~TXmlSax() {
  XML_ParserFree(static_cast<XML_Parser>(parser_));
}

void TXmlSax::Fail(std::exception_ptr error) {
  if (!error_) error_ = std::move(error);
  XML_StopParser(static_cast<XML_Parser>(parser_), XML_FALSE);
}

void TXmlSax::OnStart(void* self, const char* name, const char** attrs) {
  auto* s = static_cast<TXmlSax*>(self);
  try {
    // expat keeps every open element: a part nested millions of levels deep
    // would take gigabytes before it ends.
    if (++s->depth_ > kMaxXmlDepth) {
      throw EPlanilhaError("A planilha está danificada: elementos aninhados em mais de " +
                           std::to_string(kMaxXmlDepth) + " níveis em \"" + s->part_ + "\".");
    }
    s->handler_.Start(LocalName(name), attrs);
  } catch (...) {
    s->Fail(std::current_exception());
  }
}

void TXmlSax::OnEnd(void* self, const char* name) {
  auto* s = static_cast<TXmlSax*>(self);
  --s->depth_;
  try {
    s->handler_.End(LocalName(name));
  } catch (...) {
    s->Fail(std::current_exception());
  }
}

void TXmlSax::OnText(void* self, const char* text, int length) {
  auto* s = static_cast<TXmlSax*>(self);
  try {
    s->handler_.Text(text, length);
  } catch (...) {
    s->Fail(std::current_exception());
  }
}

void TXmlSax::OnDoctype(void* self, const char*, const char*, const char*, int) {
  auto* s = static_cast<TXmlSax*>(self);
  s->Fail(std::make_exception_ptr(
      EPlanilhaError("A planilha contém uma declaração de tipo de documento (DTD) em \"" +
                     s->part_ + "\", o que não é aceito.")));
}

void TXmlSax::OnEntity(void* self, const char*, int, const char*, int, const char*, const char*,
                       const char*, const char*) {
  auto* s = static_cast<TXmlSax*>(self);
  s->Fail(std::make_exception_ptr(EPlanilhaError("A planilha declara entidades XML em \"" +
                                                 s->part_ + "\", o que não é aceito.")));
}

void TXmlSax::Feed(const char* data, size_t size, bool final) {
  auto* p = static_cast<XML_Parser>(parser_);
  // expat takes int lengths: feed large buffers in slices.
  do {
    const size_t slice = size > (1u << 30) ? (1u << 30) : size;
    const bool last = final && slice == size;
    const XML_Status status = XML_Parse(p, data, static_cast<int>(slice), last ? 1 : 0);
    if (error_) std::rethrow_exception(error_);
    if (status != XML_STATUS_OK) {
      throw EPlanilhaError("A planilha está danificada: XML inválido em \"" + part_ + "\" (linha " +
                           std::to_string(XML_GetCurrentLineNumber(p)) + ": " +
                           XML_ErrorString(XML_GetErrorCode(p)) + ").");
    }
    data += slice;
    size -= slice;
  } while (size > 0);
}

}  // namespace app
