#include "output/PdfJpegCarrier.h"

#include "picture/FileCheck.h"
#include "picture/ScaledDecode.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QIODevice>

// qpdf 11 holds its objects in std::shared_ptr; no transition warnings.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Buffer.hh>
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include <map>
#include <stdexcept>

namespace {

struct Stop : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Everything qpdf writes goes to the device; a short write ends the copy.
class DevicePipeline : public Pipeline {
public:
    explicit DevicePipeline(QIODevice &device)
        : Pipeline("device", nullptr)
        , Device(device)
    {
    }
    void write(unsigned char const *data, size_t length) override
    {
        if (Device.write(reinterpret_cast<const char *>(data), qint64(length)) != qint64(length))
            throw Stop(QCoreApplication::translate("PdfJpegCarrier", "The file could not be written.").toStdString());
    }
    void finish() override {}

private:
    QIODevice &Device;
};

// The very file inspected: a file replaced since would print another picture.
std::string changed(const QString& file)
{
    return QCoreApplication::translate("PdfJpegCarrier", "The picture file %1 changed while it was printed.")
        .arg(file)
        .toStdString();
}

// Streams each carried file's needed bytes when the writer asks for them.
class FileProvider : public QPDFObjectHandle::StreamDataProvider {
public:
    explicit FileProvider(std::function<bool()> cancelled)
        : StreamDataProvider(false)
        , Cancelled(std::move(cancelled))
    {
    }
    std::map<QPDFObjGen, PassedJpeg> Files;

    void provideStreamData(QPDFObjGen const &og, Pipeline *pipeline) override
    {
        const PassedJpeg &passed = Files.at(og);
        const auto write = [pipeline](const char* data, qint64 length) {
            pipeline->write(reinterpret_cast<const unsigned char*>(data), std::size_t(length));
            return true;
        };
        QBuffer made;
        QFile file;
        QIODevice* source = &file;
        if (passed.File.isEmpty()) {
            made.setData(passed.Bytes);
            made.open(QIODevice::ReadOnly);
            source = &made;
        } else if (!OpenRegularFile(passed.File, file) || FileCheck(file) != passed.Check) {
            throw Stop(changed(passed.File));
        }
        switch (CopyJpegStream(*source, passed.Carry, write, Cancelled)) {
        case JpegCopy::Done:
            break;
        case JpegCopy::Cancelled:
            throw Stop("cancelled");
        case JpegCopy::Changed:
            // Caught after its bytes went out: the whole file is then refused.
            throw Stop(changed(passed.File));
        case JpegCopy::Unreadable:
        case JpegCopy::WriteFailed:
            throw Stop(QCoreApplication::translate("PdfJpegCarrier", "The picture file %1 could not be read.")
                           .arg(passed.File)
                           .toStdString());
        }
        pipeline->finish();
    }

private:
    std::function<bool()> Cancelled;
};

bool isImage(QPDFObjectHandle &object)
{
    return object.isStream() && object.getDict().getKey("/Subtype").isNameAndEquals("/Image");
}

int intKey(QPDFObjectHandle dict, const char *key)
{
    QPDFObjectHandle v = dict.getKey(key);
    return v.isInteger() ? v.getIntValueAsInt() : -1;
}

// The marker number an image object stands for, -1 for a real picture.
int markerOf(QPDFObjectHandle &image)
{
    QPDFObjectHandle dict = image.getDict();
    const int width = intKey(dict, "/Width"), height = intKey(dict, "/Height");
    if (width != PassThroughMarker(0).width() || height != 1 || intKey(dict, "/BitsPerComponent") != 8)
        return -1;
    std::shared_ptr<Buffer> data;
    try {
        data = image.getStreamData(qpdf_dl_generalized);
    } catch (const std::exception &) {
        return -1;
    }
    const QByteArray rgb(reinterpret_cast<const char *>(data->getBuffer()), qsizetype(data->getSize()));
    return PassThroughMarkerIndex(width, height, rgb);
}

QPDFObjectHandle colourSpace(QPDF &pdf, const JpegStreamInfo &info, std::map<QByteArray, QPDFObjectHandle> &profiles)
{
    const char *device = info.Components == 1 ? "/DeviceGray" : info.Components == 4 ? "/DeviceCMYK" : "/DeviceRGB";
    if (info.IccProfile.isEmpty())
        return QPDFObjectHandle::newName(device);
    QPDFObjectHandle &profile = profiles[info.IccProfile];
    if (!profile.isInitialized()) {
        profile = pdf.newStream(info.IccProfile.toStdString());
        profile.getDict().replaceKey("/N", QPDFObjectHandle::newInteger(info.Components));
        profile.getDict().replaceKey("/Alternate", QPDFObjectHandle::newName(device));
    }
    return QPDFObjectHandle::newArray({QPDFObjectHandle::newName("/ICCBased"), profile});
}

} // namespace

QString CarryJpegFiles(const QString &draft, QIODevice &out, const std::vector<PassedJpeg> &files,
                       const std::function<bool()> &cancelled, const QByteArray &outputProfile)
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(draft).constData());
        auto provider = std::make_shared<FileProvider>(cancelled);
        std::map<QByteArray, QPDFObjectHandle> profiles;
        for (QPDFObjectHandle &object : pdf.getAllObjects()) {
            if (!isImage(object))
                continue;
            const int marker = markerOf(object);
            if (marker < 0 || std::size_t(marker) >= files.size() || (files[std::size_t(marker)].File.isEmpty() && files[std::size_t(marker)].Bytes.isEmpty()))
                continue;
            const PassedJpeg &passed = files[std::size_t(marker)];
            QPDFObjectHandle dict = object.getDict();
            dict.replaceKey("/Width", QPDFObjectHandle::newInteger(passed.Carry.Info.Width));
            dict.replaceKey("/Height", QPDFObjectHandle::newInteger(passed.Carry.Info.Height));
            dict.replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(8));
            dict.replaceKey("/ColorSpace", colourSpace(pdf, passed.Carry.Info, profiles));
            dict.removeKey("/SMask");
            dict.removeKey("/Mask");
            dict.removeKey("/Decode");
            if (passed.Carry.Info.AdobeInverted)
                dict.replaceKey("/Decode", QPDFObjectHandle::parse("[1 0 1 0 1 0 1 0]"));
            provider->Files[object.getObjGen()] = passed;
            object.replaceStreamData(provider, QPDFObjectHandle::newName("/DCTDecode"), QPDFObjectHandle::newNull());
        }
        if (!outputProfile.isEmpty()) {
            QPDFObjectHandle profile = pdf.newStream(outputProfile.toStdString());
            profile.getDict().replaceKey("/N", QPDFObjectHandle::newInteger(3));
            QPDFObjectHandle intent = QPDFObjectHandle::newDictionary();
            intent.replaceKey("/Type", QPDFObjectHandle::newName("/OutputIntent"));
            intent.replaceKey("/S", QPDFObjectHandle::newName("/GTS_PDFX"));
            intent.replaceKey("/OutputConditionIdentifier", QPDFObjectHandle::newString("Custom"));
            intent.replaceKey("/DestOutputProfile", profile);
            pdf.getRoot().replaceKey("/OutputIntents", QPDFObjectHandle::newArray({pdf.makeIndirectObject(intent)}));
        }
        QPDFWriter writer(pdf);
        DevicePipeline pipe(out);
        writer.setOutputPipeline(&pipe);
        // Streams are copied as they are: the JPEG data above all.
        writer.setDecodeLevel(qpdf_dl_none);
        writer.write();
    } catch (const std::exception &e) {
        return QString::fromStdString(e.what());
    }
    return {};
}

int CountPdfImages(const QString &file)
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(file).constData());
        int n = 0;
        for (QPDFObjectHandle &object : pdf.getAllObjects())
            n += isImage(object) ? 1 : 0;
        return n;
    } catch (const std::exception &) {
        return -1;
    }
}
