#include "StartUpWarmUp.h"

#include <QImage>

#if VANTOREL_WARM_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

StartUpWarmUp::StartUpWarmUp()
{
    loader_ = std::thread([image = image_.get_future()]() mutable {
#if VANTOREL_WARM_FONTCONFIG
        // The first configuration loaded is kept; a thread that asks while this one is still
        // loading loads one for itself.
        FcInit();
#endif
        const QString file = image.get();
        if (!file.isEmpty())
            QImage(file).isNull();
    });
}

StartUpWarmUp::~StartUpWarmUp()
{
    finish();
}

void StartUpWarmUp::readImage(const QString& file)
{
    if (imageHandedOver_)
        return;
    imageHandedOver_ = true;
    image_.set_value(file);
}

void StartUpWarmUp::finish()
{
    readImage({});
    if (loader_.joinable())
        loader_.join();
}
