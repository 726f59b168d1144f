#pragma once

#include <QByteArrayView>
#include <QString>

// A whole file mapped read-only and private for the length of one read, so
// that a decoder sees its bytes without a heap copy. The mapping ends with the
// object. `bytes()` is empty when the file could not be mapped and `error()`
// then says why.
class MappedFile
{
  public:
    explicit MappedFile(const QString &path);
    ~MappedFile();

    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    QByteArrayView bytes() const { return {static_cast<const char *>(m_data), m_size}; }
    const QString &error() const { return m_error; }

  private:
    void map(int fd);

    void *m_data = nullptr;
    qsizetype m_size = 0;
    QString m_error;
};
