#include "reset.h"

namespace cvarden {

std::string ResetToDefaults(const OptionTree &tree, ValueStore &store, const EngineInUse &engine)
{
    StoreBatch batch(store);
    for (const OptionNode &option : tree.options()) {
        if (std::string failure = store.Save(option.text, DefaultInUse(engine, option)); !failure.empty())
            return failure;
    }
    return batch.commit();
}

} // namespace cvarden
