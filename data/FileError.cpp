#include "FileError.h"

using namespace Qt::StringLiterals;

namespace qaveq::data {

namespace {

QString messageFor(int code)
{
    switch (code) {
    case FileErrorCode::FileLocked:
        return u"File Is Already Locked"_s;
    case FileErrorCode::RecordNotAvailable:
        return u"Record Not Available"_s;
    case FileErrorCode::RecordNotFound:
        return u"Record Not Found"_s;
    case FileErrorCode::DuplicateKey:
        return u"Creates Duplicate Key"_s;
    case FileErrorCode::RecordChanged:
        return u"Record Changed By Another Station"_s;
    case FileErrorCode::FileSystemError:
        return u"File System Error"_s;
    }
    return u"Error %1"_s.arg(code);
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
        return driverMessage + u" ("_s + driverCode + u')';
    return message + u" ("_s + QString::number(code) + u')';
}

} // namespace qaveq::data
