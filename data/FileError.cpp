#include "FileError.h"

namespace qaveq::data {

namespace {

QString messageFor(int code)
{
    switch (code) {
    case FileErrorCode::FileLocked:
        return QStringLiteral("File Is Already Locked");
    case FileErrorCode::RecordNotAvailable:
        return QStringLiteral("Record Not Available");
    case FileErrorCode::RecordNotFound:
        return QStringLiteral("Record Not Found");
    case FileErrorCode::DuplicateKey:
        return QStringLiteral("Creates Duplicate Key");
    case FileErrorCode::RecordChanged:
        return QStringLiteral("Record Changed By Another Station");
    case FileErrorCode::FileSystemError:
        return QStringLiteral("File System Error");
    }
    return QStringLiteral("Error %1").arg(code);
}

} // namespace

FileError FileError::make(int code, const QString &file)
{
    return FileError{code, messageFor(code), {}, {}, file};
}

FileError FileError::driver(const QString &driverMessage, const QString &driverCode,
                            const QString &file)
{
    FileError error = make(FileErrorCode::FileSystemError, file);
    error.driverMessage = driverMessage;
    error.driverCode = driverCode;
    return error;
}

QString FileError::text() const
{
    if (code == FileErrorCode::FileSystemError && !driverMessage.isEmpty())
        return driverMessage;
    return message;
}

QString FileError::cause() const
{
    if (code == FileErrorCode::FileSystemError)
        return driverMessage + QStringLiteral(" (") + driverCode + u')';
    return message + QStringLiteral(" (") + QString::number(code) + u')';
}

} // namespace qaveq::data
