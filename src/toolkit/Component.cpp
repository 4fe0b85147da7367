#include "Component.h"

TComponent::TComponent(QObject* owner)
    : QObject(owner)
{
}
