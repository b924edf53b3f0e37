#pragma once

#include <QHash>
#include <QPair>
#include <QString>
#include <QWidget>

namespace kestrum {

// The main window's controls by name and array index, the way the window's
// code addresses them: DummyT(3), LogCheck, RepSort(5). Named controls have
// index -1.
class ControlRegistry {
public:
  void add(const QString &name, int index, QWidget *control) {
    controls_.insert({name, index}, control);
  }
  QWidget *find(const QString &name, int index = -1) const {
    return controls_.value({name, index});
  }
  bool contains(const QString &name, int index = -1) const {
    return controls_.contains({name, index});
  }
  // Number of registered members of an array (or 1 for a named control).
  int count(const QString &name) const {
    int n = 0;
    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it)
      n += it.key().first == name;
    return n;
  }
  template <typename T> T *get(const QString &name, int index = -1) const {
    return qobject_cast<T *>(find(name, index));
  }

private:
  QHash<QPair<QString, int>, QWidget *> controls_;
};

} // namespace kestrum
