#pragma once

#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <string>
#include <vector>

// One run of vcp-probe with a trace file, as an engineer runs it.
struct ProbeRun {
    int exitCode = -1;
    QByteArray output;
    QJsonObject json;               // standard output, when it is one JSON object
    std::vector<std::string> sent;  // the requests, hex bytes from the address byte on
};

class ProbeRunner {
  public:
    explicit ProbeRunner(std::string port) : m_port(std::move(port)) {}
    ProbeRun Run(const QStringList& command);

  private:
    std::string m_port;
    QTemporaryDir m_dir;
};
