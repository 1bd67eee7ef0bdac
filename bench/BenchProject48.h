#pragma once

#include "BenchSupport.h"

#include "document/uDataFile.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "platform/uImaging.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace BenchSupport {

// A project file with 48 stored photos of about 3.9 megapixels, four to a page; made once.
struct TProject48 {
    static constexpr int kPhotos = 48;
    QTemporaryDir dir;
    std::vector<QByteArray> photos;
    QString path;

    TProject48() {
        TFBDocument document;
        document.Reset();
        TFBPage* page = nullptr;
        for (int i = 0; i < kPhotos; ++i) {
            photos.push_back(Imaging::EncodeJpeg(generatedPhoto(2400, 1600, quint32(100 + i)), 90));
            const QString file = dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
            QFile out(file);
            if (out.open(QIODevice::WriteOnly))
                out.write(photos.back());
            out.close();
            if (i % 4 == 0)
                page = document.Pages.Add(std::make_unique<TFBPage>(&document));
            auto* frame = static_cast<TFBPictureElement*>(
                page->Pictures.Add(std::make_unique<TFBPictureElement>(page)));
            frame->SetPictureFile(file);
        }
        path = dir.filePath(QStringLiteral("project.fbp"));
        TDataFile container(path);
        SaveDocument(document, container);
        document.Reset();
    }
    static TProject48& instance() {
        static TProject48 project;
        return project;
    }
};

} // namespace BenchSupport
