// Test main for the run tests: the download needs an event loop.

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  // The tests talk to their own server on 127.0.0.1, never through a proxy.
  for (const char *name : {"ftp_proxy", "FTP_PROXY", "all_proxy", "ALL_PROXY"})
    qunsetenv(name);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
