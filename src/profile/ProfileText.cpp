#include "ProfileText.h"

#include "LeadingNumber.h"
#include "platform/Ansi.h"

#include <QRegularExpression>

#include <optional>

namespace kestrum {
namespace {

QString bool16Text(int16_t value) {
  if (value == kTrue16)
    return QStringLiteral("True");
  if (value == kFalse16)
    return QStringLiteral("False");
  return QString::number(value);
}

QString fieldText(const FieldInfo &field, const ProfileSettings &s) {
  switch (field.type) {
  case FieldType::String: return EscapeStoredBytes(toAnsi(field.string(s)));
  case FieldType::I32: return QString::number(field.i32(s));
  case FieldType::Bool16: return bool16Text(field.i16(s));
  case FieldType::I16: return QString::number(field.i16(s));
  }
  return {};
}

// A switch holds only -1 or 0: any other stored value would read as true in
// one place and false in another.
std::optional<int16_t> bool16FromText(const QString &value) {
  for (const char *yes : {"True", "-1", "1"})
    if (value.compare(QLatin1String(yes), Qt::CaseInsensitive) == 0)
      return kTrue16;
  for (const char *no : {"False", "0"})
    if (value.compare(QLatin1String(no), Qt::CaseInsensitive) == 0)
      return kFalse16;
  return std::nullopt;
}

void dumpList(QStringList &lines, const char *name, const std::array<ListEntry, kListSize> &list) {
  for (int i = 0, n = usedListLength(list); i < n; ++i)
    lines.append(QStringLiteral("%1[%2]=%3")
                     .arg(QLatin1String(name))
                     .arg(i)
                     .arg(EscapeStoredBytes(toAnsi(list[i].Text))));
}

} // namespace

QString EscapeStoredBytes(const QByteArray &bytes) {
  QString out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    switch (b) {
    case '\\': out += QLatin1String("\\\\"); break;
    case '\r': out += QLatin1String("\\r"); break;
    case '\n': out += QLatin1String("\\n"); break;
    case '\t': out += QLatin1String("\\t"); break;
    default:
      if (b < 0x20 || b >= 0x7F)
        out += QLatin1String("\\x") +
               QString::number(b, 16).toUpper().rightJustified(2, QLatin1Char('0'));
      else
        out += QLatin1Char(char(b));
    }
  }
  return out;
}

Result UnescapeStoredBytes(const QString &text, QByteArray &bytes) {
  QByteArray out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    // Plain text up to the next backslash converts as a whole, so a
    // character outside the BMP (two UTF-16 units) stays one character.
    const qsizetype slash = text.indexOf(QLatin1Char('\\'), i);
    const qsizetype end = slash < 0 ? text.size() : slash;
    out += toAnsi(text.mid(i, end - i));
    if (slash < 0)
      break;
    i = slash;
    if (++i >= text.size())
      return Result::failure(QStringLiteral("A value ends in a lone backslash."));
    switch (text[i].unicode()) {
    case u'\\': out += '\\'; break;
    case u'r': out += '\r'; break;
    case u'n': out += '\n'; break;
    case u't': out += '\t'; break;
    case u'x': {
      const int high = i + 1 < text.size() ? HexDigitValue(text[i + 1]) : -1;
      const int low = i + 2 < text.size() ? HexDigitValue(text[i + 2]) : -1;
      if (high < 0 || low < 0)
        return Result::failure(QStringLiteral("\\x must be followed by two hexadecimal digits."));
      out += char(high * 16 + low);
      i += 2;
      break;
    }
    default: return Result::failure(QStringLiteral("Unknown escape \\%1.").arg(text[i]));
    }
  }
  bytes = out;
  return Result::success();
}

QStringList DumpProfile(const Profile &profile) {
  QStringList lines;
  for (const FieldInfo &field : profileFields())
    lines.append(QString::fromLatin1(field.name.data(), field.name.size()) + QLatin1Char('=') +
                 fieldText(field, profile.Settings));
  dumpList(lines, "Aliases", profile.Aliases);
  dumpList(lines, "Excludes", profile.Excludes);
  return lines;
}

Result SetProfileValue(Profile &profile, const QString &assignment) {
  const qsizetype eq = assignment.indexOf(QLatin1Char('='));
  if (eq <= 0)
    return Result::failure(QStringLiteral("Expected Name=value, got \"%1\".").arg(assignment));
  const QString name = assignment.left(eq);
  const QString value = assignment.mid(eq + 1);

  static const QRegularExpression listName(QStringLiteral("^(Aliases|Excludes)\\[(\\d{1,4})\\]$"));
  if (const auto m = listName.match(name); m.hasMatch()) {
    const int index = m.captured(2).toInt();
    if (index >= kListSize)
      return Result::failure(QStringLiteral("%1: a list has entries 0 to 1000.").arg(name));
    QByteArray bytes;
    if (Result r = UnescapeStoredBytes(value, bytes); !r.ok())
      return Result::failure(name + QLatin1String(": ") + r.error);
    auto &list = m.captured(1) == QLatin1String("Aliases") ? profile.Aliases : profile.Excludes;
    list[index].Text = fromAnsi(bytes);
    return Result::success();
  }

  const FieldInfo *field = findProfileField(name.toStdString());
  if (!field)
    return Result::failure(QStringLiteral("There is no profile field named \"%1\".").arg(name));
  ProfileSettings &s = profile.Settings;
  switch (field->type) {
  case FieldType::String: {
    QByteArray bytes;
    if (Result r = UnescapeStoredBytes(value, bytes); !r.ok())
      return Result::failure(name + QLatin1String(": ") + r.error);
    field->string(s) = fromAnsi(bytes);
    break;
  }
  case FieldType::I32: field->i32(s) = RoundToI32(LeadingNumber(value)); break;
  case FieldType::Bool16: {
    const auto flag = bool16FromText(value);
    if (!flag)
      return Result::failure(
          QStringLiteral("%1 is a switch: give True or False, not \"%2\".").arg(name, value));
    field->i16(s) = *flag;
    break;
  }
  case FieldType::I16: field->i16(s) = RoundToI16(LeadingNumber(value)); break;
  }
  return Result::success();
}

void StampSignatureAndVersion(Profile &profile) {
  profile.Settings.Signature = QStringLiteral("Kestrum");
  profile.Settings.FormatVersion = 20000;
}

} // namespace kestrum
