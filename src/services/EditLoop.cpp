#include "EditLoop.h"

#include "data/Exceptions.h"
#include "data/qdLib.h"

bool RunEditLoop(const std::function<bool()>& show, const std::function<void()>& apply,
                 const std::function<void()>& onError)
{
    while (show()) {
        try {
            apply();
            return true;
        } catch (const EAbort&) {
            throw;
        } catch (const Exception& e) {
            ShowInfo(e.Message());
            if (onError)
                onError();
        }
    }
    return false;
}
