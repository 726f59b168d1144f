#pragma once

#include <QString>

// Mounts the latency share (bench/latencyshare.cpp) over a folder for the
// length of a benchmark, and unmounts it at the end.
class LatencyShareMount
{
  public:
    LatencyShareMount() = default;
    ~LatencyShareMount();

    LatencyShareMount(const LatencyShareMount &) = delete;
    LatencyShareMount &operator=(const LatencyShareMount &) = delete;

    // Serves `source` at a new folder under `scratch` with `delayMicroseconds`
    // before every open, read and directory read. False with a reason when FUSE
    // is not available here.
    bool mount(const QString &source, const QString &scratch, int delayMicroseconds);

    QString mountPoint() const { return m_mountPoint; }
    QString failure() const { return m_failure; }

  private:
    void unmount();

    QString m_mountPoint;
    QString m_failure;
    int m_server = -1;
};
