// tellurix-host: a command-line container for the Tellurix control. Creates
// the control by ProgID through the registry, as the main window does, and
// calls its members by name from the command line. One line of output per
// command; see kUsage for the commands.

#include "platform/Automation.h"
#include "platform/AutomationServer.h"
#include "platform/ProgramDir.h"
#include "platform/ProgramFolderSeeding.h"
#include "platform/ProgramInfo.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <optional>

using namespace kestrum;

namespace {

QTextStream &out() {
  static QTextStream stream(stdout);
  return stream;
}

void printLine(const QString &line) {
  out() << line << Qt::endl; // flushed, so events show as they come
}

const char kUsage[] =
    "Usage: tellurix-host [--design-mode] [--bag FILE] COMMAND...\n"
    "Creates the Tellurix control by its ProgID through the registry, as the main\n"
    "window does, and calls its members by name: one line of output per command.\n"
    "\n"
    "Commands:\n"
    "  register [LIB]       unregister [LIB]     (LIB: libtellurix.so beside this program)\n"
    "  dispid NAME          get NAME\n"
    "  let NAME VALUE       set NAME FILE        (FILE: an image, empty for no picture)\n"
    "  call NAME [ARG...]   (optional arguments are taken unless they name a command)\n"
    "  wait MS              save FILE\n"
    "\n"
    "Options:\n"
    "  --design-mode   host the control in design mode (run mode otherwise)\n"
    "  --bag FILE      load the control's properties from FILE, a property bag\n"
    "  --help          show this help and exit\n"
    "  --version       show the program's version and exit\n";

int usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

bool isCommand(const QString &word) {
  static const QStringList commands = {
      QStringLiteral("register"), QStringLiteral("unregister"), QStringLiteral("dispid"),
      QStringLiteral("get"),      QStringLiteral("let"),        QStringLiteral("set"),
      QStringLiteral("call"),     QStringLiteral("wait"),       QStringLiteral("save")};
  return commands.contains(word);
}

class HostSite : public Site {
public:
  explicit HostSite(bool designMode) : designMode_(designMode) {}
  bool AmbientUserMode() const override { return !designMode_; }
  void PropertyChanged(int32_t, const QString &) override {}

private:
  bool designMode_;
};

class PrintingSink : public EventSink {
public:
  explicit PrintingSink(Control &control) : control_(control) {}
  void Invoke(int32_t eventDispid) override {
    const QString name = control_.GetEventName(eventDispid);
    printLine(QStringLiteral("event ") + (name.isEmpty() ? QString::number(eventDispid) : name));
  }

private:
  Control &control_;
};

// Loads the library like regsvr32 and runs one of its registration entry points.
int runRegistration(const QString &library, const char *entryPoint) {
  QString error;
  const int32_t result = CallRegistrationEntry(library, entryPoint, &error);
  if (!error.isEmpty())
    fprintf(stderr, "tellurix-host: %s\n", qPrintable(error));
  printLine(QString::number(result));
  return 0;
}

int loadPicture(const QString &file, Variant &value) {
  if (file.isEmpty()) {
    value = Variant(PicturePtr());
    return 0;
  }
  if (!QFile::exists(file))
    return 53; // file not found
  QImage image;
  if (!image.load(file))
    return 481; // invalid picture
  image = image.convertToFormat(QImage::Format_ARGB32);
  auto picture = std::make_shared<Picture>();
  picture->width = image.width();
  picture->height = image.height();
  picture->argb.reserve(size_t(image.width()) * size_t(image.height()));
  for (int y = 0; y < image.height(); ++y) {
    const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
    picture->argb.insert(picture->argb.end(), line, line + image.width());
  }
  value = Variant(PicturePtr(std::move(picture)));
  return 0;
}

void printError(int error) {
  printLine(QStringLiteral("error %1").arg(error));
}

} // namespace

int main(int argc, char **argv) {
  if (const auto status = AnswerHelpOrVersion(argc, argv, "tellurix-host", kUsage))
    return *status;
  // The about box, the tray icon and file icons need a graphical application;
  // without a display it runs offscreen (and shows no windows).
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QStringList words = app.arguments().mid(1);

  bool designMode = false;
  std::optional<QString> bagFile;
  while (!words.isEmpty() && words.first().startsWith(QLatin1String("--"))) {
    const QString option = words.takeFirst();
    if (option == QLatin1String("--design-mode")) {
      designMode = true;
    } else if (option == QLatin1String("--bag") && !words.isEmpty()) {
      bagFile = words.takeFirst();
    } else {
      return usage();
    }
  }
  if (words.isEmpty())
    return usage();
  prepareProgramFolder();

  HostSite site(designMode);
  std::unique_ptr<Control> control;
  std::unique_ptr<PrintingSink> sink;
  // The control is created by the first command that needs it.
  auto ensureControl = [&]() -> bool {
    if (control)
      return true;
    QString why;
    control = CreateControl(QString::fromLatin1(kTellurixProgId), &why);
    if (!control) {
      fprintf(stderr, "tellurix-host: cannot create %s: %s\n", kTellurixProgId, qPrintable(why));
      return false;
    }
    control->SetClientSite(&site);
    sink = std::make_unique<PrintingSink>(*control);
    control->Advise(sink.get());
    if (bagFile) {
      QFile file(*bagFile);
      PropertyBag bag;
      if (file.open(QIODevice::ReadOnly))
        bag = PropertyBag::fromText(file.read(16 << 20));
      else
        fprintf(stderr, "tellurix-host: cannot read %s; the defaults apply\n",
                qPrintable(*bagFile));
      control->ReadProperties(bag);
    } else {
      control->InitProperties();
    }
    int width = 0, height = 0;
    control->Resize(width, height);
    return true;
  };
  auto memberInfo = [&](const QString &name, MemberInfo &info) -> int {
    int32_t dispid = 0;
    if (const int error = control->GetIDsOfNames(name, dispid))
      return error;
    control->GetMemberInfo(dispid, info);
    return 0;
  };

  // The library beside this program.
  const QString defaultLibrary = withTrailingSlash(QCoreApplication::applicationDirPath()) +
                                 QLatin1String(kTellurixLibraryFile);
  while (!words.isEmpty()) {
    const QString command = words.takeFirst();
    auto needArgument = [&](QString &value) {
      if (words.isEmpty())
        return false;
      value = words.takeFirst();
      return true;
    };

    if (command == QLatin1String("register") || command == QLatin1String("unregister")) {
      QString library = defaultLibrary;
      // A file name, as regsvr32 takes it: relative to the current folder
      // (dlopen would search the library path for a bare name).
      if (!words.isEmpty() && !isCommand(words.first()))
        library = QFileInfo(words.takeFirst()).absoluteFilePath();
      runRegistration(library, command == QLatin1String("register") ? "DllRegisterServer"
                                                                    : "DllUnregisterServer");
      continue;
    }
    if (command == QLatin1String("wait")) {
      QString ms;
      if (!needArgument(ms))
        return usage();
      if (!ensureControl())
        return 1;
      QEventLoop loop;
      QTimer::singleShot(std::max(0, ms.toInt()), &loop, &QEventLoop::quit);
      loop.exec();
      printLine(QStringLiteral("waited"));
      continue;
    }
    if (command == QLatin1String("save")) {
      QString file;
      if (!needArgument(file))
        return usage();
      if (!ensureControl())
        return 1;
      PropertyBag bag;
      control->WriteProperties(bag);
      QSaveFile target(file); // replaced whole or not at all
      const QByteArray text = bag.toText();
      if (target.open(QIODevice::WriteOnly) && target.write(text) == text.size() && target.commit())
        printLine(QStringLiteral("ok"));
      else
        printError(75); // path/file access error
      continue;
    }
    if (!isCommand(command))
      return usage();

    QString name;
    if (!needArgument(name))
      return usage();
    if (!ensureControl())
      return 1;
    MemberInfo info;
    const int lookup = memberInfo(name, info);

    if (command == QLatin1String("dispid")) {
      if (lookup)
        printError(lookup);
      else
        printLine(QString::number(info.dispid));
    } else if (command == QLatin1String("get")) {
      std::vector<Variant> args;
      Variant result;
      const int error =
          lookup ? lookup : control->Invoke(info.dispid, InvokeKind::PropertyGet, args, &result);
      if (error)
        printError(error);
      else
        printLine(result.toDisplayString());
    } else if (command == QLatin1String("let") || command == QLatin1String("set")) {
      QString text;
      if (!needArgument(text))
        return usage();
      if (lookup) {
        printError(lookup);
        continue;
      }
      Variant value;
      int error = 0;
      if (command == QLatin1String("set"))
        error = loadPicture(text, value);
      else if (Variant(text).convertTo(info.type, value) != 0)
        value = Variant(text); // the control answers: its assignment rules come first
      if (!error) {
        std::vector<Variant> args{value};
        error = control->Invoke(info.dispid,
                                command == QLatin1String("set") ? InvokeKind::PropertySet
                                                                : InvokeKind::PropertyLet,
                                args, nullptr);
      }
      if (error)
        printError(error);
      else
        printLine(QStringLiteral("ok"));
    } else { // call
      // Required arguments are always taken; optional ones unless they name a command.
      const size_t declared = lookup ? 0 : info.params.size();
      std::vector<Variant> args;
      int error = lookup;
      for (size_t i = 0; i < declared && !words.isEmpty(); ++i) {
        if (int(i) >= info.requiredParams && isCommand(words.first()))
          break;
        Variant value;
        const int converted = Variant(words.takeFirst()).convertTo(info.params[i], value);
        if (converted && !error)
          error = converted;
        args.push_back(value);
      }
      const std::vector<Variant> before = args;
      Variant result;
      if (!error)
        error = control->Invoke(info.dispid, InvokeKind::Method, args, &result);
      if (error) {
        printError(error);
        continue;
      }
      printLine(result.toDisplayString());
      for (size_t i = 0; i < args.size(); ++i)
        if (!(args[i] == before[i]))
          printLine(QStringLiteral("ARG %1 = %2").arg(i + 1).arg(args[i].toDisplayString()));
    }
  }
  return 0;
}
