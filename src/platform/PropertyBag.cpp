#include "Automation.h"

namespace kestrum {

int PropertyBag::indexOf(const QString &name) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].first.compare(name, Qt::CaseInsensitive) == 0)
      return static_cast<int>(i);
  return -1;
}

Variant PropertyBag::ReadProperty(const QString &name, const Variant &defaultValue) const {
  const int i = indexOf(name);
  return i < 0 ? defaultValue : entries_[size_t(i)].second;
}

void PropertyBag::WriteProperty(const QString &name, const Variant &value,
                                const Variant &defaultValue) {
  const int i = indexOf(name);
  if (value == defaultValue) {
    if (i >= 0)
      entries_.erase(entries_.begin() + i);
    return;
  }
  if (i >= 0)
    entries_[size_t(i)].second = value;
  else
    entries_.emplace_back(name, value);
}

bool PropertyBag::contains(const QString &name) const {
  return indexOf(name) >= 0;
}

QStringList PropertyBag::keys() const {
  QStringList names;
  for (const auto &entry : entries_)
    names.append(entry.first);
  return names;
}

// Text form, one key a line: "Name=t:value" with t one of
//   s string (UTF-8; \\ \n \r \t and other control characters as \xNN)
//   i 32-bit number   d double   b True/False   c currency (decimal)
//   k colour (decimal 32-bit)   p picture "WxH:base64 of the ARGB pixels" or empty
//   e empty
namespace {

QByteArray escapeText(const QString &text) {
  QByteArray out;
  for (const char c : text.toUtf8()) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\t')
      out += "\\t";
    else if (byte < 0x20 || byte == 0x7F)
      out += "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0');
    else
      out += c;
  }
  return out;
}

QString unescapeText(const QByteArray &text) {
  QByteArray out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\\' || i + 1 >= text.size()) {
      out += c;
      continue;
    }
    const char next = text[++i];
    if (next == 'n')
      out += '\n';
    else if (next == 'r')
      out += '\r';
    else if (next == 't')
      out += '\t';
    else if (next == 'x' && i + 2 < text.size()) {
      bool ok = false;
      const int value = text.mid(i + 1, 2).toInt(&ok, 16);
      if (ok) {
        out += static_cast<char>(value);
        i += 2;
      } else {
        out += next;
      }
    } else
      out += next;
  }
  return QString::fromUtf8(out);
}

QByteArray encodePicture(const PicturePtr &picture) {
  if (!picture)
    return {};
  QByteArray pixels;
  pixels.reserve(qsizetype(picture->argb.size() * 4));
  for (const uint32_t pixel : picture->argb)
    for (int shift = 0; shift < 32; shift += 8)
      pixels.append(static_cast<char>((pixel >> shift) & 0xFF));
  return QByteArray::number(picture->width) + 'x' + QByteArray::number(picture->height) + ':' +
         pixels.toBase64();
}

bool decodePicture(const QByteArray &text, Variant &out) {
  if (text.isEmpty()) {
    out = Variant(PicturePtr());
    return true;
  }
  const qsizetype x = text.indexOf('x');
  const qsizetype colon = text.indexOf(':');
  if (x < 0 || colon < x)
    return false;
  bool okW = false, okH = false;
  const int width = text.left(x).toInt(&okW);
  const int height = text.mid(x + 1, colon - x - 1).toInt(&okH);
  if (!okW || !okH || width < 0 || height < 0 || width > 4096 || height > 4096)
    return false;
  const QByteArray pixels = QByteArray::fromBase64(text.mid(colon + 1));
  if (pixels.size() != qsizetype(width) * height * 4)
    return false;
  auto picture = std::make_shared<Picture>();
  picture->width = width;
  picture->height = height;
  picture->argb.resize(size_t(width) * size_t(height));
  for (size_t i = 0; i < picture->argb.size(); ++i) {
    uint32_t pixel = 0;
    for (int b = 0; b < 4; ++b)
      pixel |= uint32_t(uint8_t(pixels[qsizetype(i * 4 + b)])) << (8 * b);
    picture->argb[i] = pixel;
  }
  out = Variant(PicturePtr(std::move(picture)));
  return true;
}

bool decodeValue(char tag, const QByteArray &text, Variant &out) {
  bool ok = true;
  switch (tag) {
  case 'e': out = Variant(); return true;
  case 's': out = Variant(unescapeText(text)); return true;
  case 'i': out = Variant(int32_t(text.toInt(&ok))); return ok;
  case 'd': out = Variant(text.toDouble(&ok)); return ok;
  case 'b': out = Variant(text == "True"); return text == "True" || text == "False";
  case 'c': return Variant(QString::fromLatin1(text)).convertTo(VarType::Currency, out) == 0;
  case 'k': out = Variant(OleColor{uint32_t(text.toInt(&ok))}); return ok;
  case 'p': return decodePicture(text, out);
  default: return false;
  }
}

} // namespace

QByteArray PropertyBag::toText() const {
  QByteArray text;
  for (const auto &[name, value] : entries_) {
    text += escapeText(name) + '=';
    switch (value.type()) {
    case VarType::Empty: text += "e:"; break;
    case VarType::String: text += "s:" + escapeText(value.toString()); break;
    case VarType::I32: text += "i:" + QByteArray::number(value.toI32()); break;
    case VarType::Double: text += "d:" + QByteArray::number(value.toDouble(), 'g', 17); break;
    case VarType::Bool: text += value.toBool() ? "b:True" : "b:False"; break;
    case VarType::Currency: text += "c:" + value.toDisplayString().toLatin1(); break;
    case VarType::Color: text += "k:" + QByteArray::number(int32_t(value.toColor().value)); break;
    case VarType::Picture: text += "p:" + encodePicture(value.toPicture()); break;
    }
    text += '\n';
  }
  return text;
}

PropertyBag PropertyBag::fromText(const QByteArray &text) {
  PropertyBag bag;
  for (QByteArray line : text.split('\n')) {
    if (line.endsWith('\r'))
      line.chop(1);
    const qsizetype eq = line.indexOf('=');
    if (eq <= 0 || line.size() < eq + 3 || line[eq + 2] != ':')
      continue;
    Variant value;
    if (!decodeValue(line[eq + 1], line.mid(eq + 3), value))
      continue;
    const QString name = unescapeText(line.left(eq));
    const int i = bag.indexOf(name);
    if (i >= 0)
      bag.entries_[size_t(i)].second = value;
    else
      bag.entries_.emplace_back(name, value);
  }
  return bag;
}

} // namespace kestrum
