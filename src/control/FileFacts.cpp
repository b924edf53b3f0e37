#include "FileFacts.h"

#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeDatabase>
#include <QPainter>

#include <sys/stat.h>
#include <sys/xattr.h>

#include <iterator>

namespace kestrum::tellurix {

namespace {

constexpr char kDosAttributeName[] = "user.DOSATTRIB";
constexpr int kKeptInExtendedAttribute =
    FileAttribute::Hidden | FileAttribute::System | FileAttribute::Archive;

// Samba's value starts with the mask as "0x" and hex digits (its newer binary
// form keeps that text in front); nothing when the file has none.
std::optional<int> readDosAttribute(const QByteArray &path) {
  char value[256] = {};
  const ssize_t length = getxattr(path.constData(), kDosAttributeName, value, sizeof value - 1);
  if (length <= 2 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X'))
    return std::nullopt;
  int mask = 0;
  for (ssize_t i = 2; i < length; ++i) {
    const char c = value[i];
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0 || mask > 0xFFFFFF)
      break;
    mask = mask * 16 + digit;
  }
  return mask;
}

bool writeDosAttribute(const QByteArray &path, int mask) {
  const QByteArray text = "0x" + QByteArray::number(mask, 16);
  return setxattr(path.constData(), kDosAttributeName, text.constData(), size_t(text.size()) + 1,
                  0) == 0;
}

// Windows' default system colours (COLOR_SCROLLBAR = 0 ... COLOR_MENUBAR = 30).
constexpr uint32_t kSystemColors[] = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x434E54, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0};

} // namespace

bool FileExists(const QString &name) {
  return !name.isEmpty() && QFileInfo(name).isFile();
}

std::optional<int> FileAttributes(const QString &name) {
  if (name.isEmpty())
    return std::nullopt;
  const QByteArray path = QFile::encodeName(name);
  struct stat info;
  if (stat(path.constData(), &info) != 0)
    return std::nullopt;
  int mask = readDosAttribute(path).value_or(0) & kKeptInExtendedAttribute;
  if (!(info.st_mode & S_IWUSR))
    mask |= FileAttribute::ReadOnly;
  if (S_ISDIR(info.st_mode))
    mask |= FileAttribute::Directory;
  if (QFileInfo(name).fileName().startsWith(QLatin1Char('.')))
    mask |= FileAttribute::Hidden;
  return mask;
}

bool SetFileAttributes(const QString &name, int mask) {
  if (name.isEmpty())
    return false;
  const QByteArray path = QFile::encodeName(name);
  struct stat info;
  if (stat(path.constData(), &info) != 0)
    return false;
  if (bool(mask & FileAttribute::Directory) != S_ISDIR(info.st_mode))
    return false; // a file cannot become a folder, nor a folder a file
  const mode_t mode =
      mask & FileAttribute::ReadOnly ? info.st_mode & ~S_IWUSR : info.st_mode | S_IWUSR;
  bool ok = true;
  const bool keepsBits = (mask & kKeptInExtendedAttribute) != 0;
  if (keepsBits || readDosAttribute(path)) {
    // The extended attribute needs write permission: written while the owner
    // may write, before the read-only bit is set.
    if (!(info.st_mode & S_IWUSR))
      chmod(path.constData(), info.st_mode | S_IWUSR);
    ok = writeDosAttribute(path, mask);
  }
  if (chmod(path.constData(), mode & 07777) != 0)
    ok = false;
  return ok;
}

QString FileTypeName(const QString &name) {
  if (name.isEmpty() || !QFileInfo::exists(name))
    return QString();
  return QMimeDatabase().mimeTypeForFile(name).comment();
}

int WindowsSignature(const QString &name, QByteArray &signature) {
  signature = "  ";
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly))
    return 75; // path/file access error
  unsigned char offset[4];
  if (!file.seek(60) || file.read(reinterpret_cast<char *>(offset), 4) != 4)
    return 0;
  const uint32_t at = uint32_t(offset[0]) | uint32_t(offset[1]) << 8 | uint32_t(offset[2]) << 16 |
                      uint32_t(offset[3]) << 24;
  if (!file.seek(qint64(at)))
    return 0;
  const QByteArray pair = file.read(2);
  if (pair.size() == 2)
    signature = pair;
  return 0;
}

uint32_t OleColorToArgb(OleColor color) {
  uint32_t rgb = 0;
  if (color.value & 0x80000000u) {
    const uint32_t index = color.value & 0xFFFFFF;
    rgb = index < std::size(kSystemColors) ? kSystemColors[index] : 0;
  } else {
    const uint32_t bgr = color.value & 0xFFFFFF;
    rgb = (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
  }
  return 0xFF000000u | rgb;
}

PicturePtr FileIcon(const QString &name, int size, OleColor back) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(QColor::fromRgba(OleColorToArgb(back)));
  // Theme icons need a graphical application; a console host gets the
  // background alone.
  const bool canDraw = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
  if (canDraw && !name.isEmpty() && QFileInfo::exists(name)) {
    const QIcon icon = QFileIconProvider().icon(QFileInfo(name));
    QPainter painter(&image);
    icon.paint(&painter, QRect(0, 0, size, size));
  }
  auto picture = std::make_shared<Picture>();
  picture->width = size;
  picture->height = size;
  picture->argb.reserve(size_t(size) * size_t(size));
  for (int y = 0; y < size; ++y) {
    const auto *line = reinterpret_cast<const uint32_t *>(image.constScanLine(y));
    picture->argb.insert(picture->argb.end(), line, line + size);
  }
  return picture;
}

} // namespace kestrum::tellurix
