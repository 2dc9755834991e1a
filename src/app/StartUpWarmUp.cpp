#include "app/StartUpWarmUp.h"

#include <QImageReader>

#if VANTOREL_WARM_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

StartUpWarmUp::StartUpWarmUp()
{
    loader_ = std::thread([sample = sample_.get_future()]() mutable {
#if VANTOREL_WARM_FONTCONFIG
        // The first configuration loaded is kept; a thread that asks while this one is still
        // loading loads one for itself.
        FcInit();
#endif
        const QString file = sample.get();
        // Whether the file can be read is asked of every image-format plugin, which loads them.
        if (!file.isEmpty())
            QImageReader(file).canRead();
    });
}

StartUpWarmUp::~StartUpWarmUp()
{
    finish();
}

void StartUpWarmUp::loadImageReaders(const QString& sampleFile)
{
    if (sampleHandedOver_)
        return;
    sampleHandedOver_ = true;
    sample_.set_value(sampleFile);
}

void StartUpWarmUp::finish()
{
    loadImageReaders({});
    if (loader_.joinable())
        loader_.join();
}
