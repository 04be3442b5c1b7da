#pragma once

// The exported plan: compact JSON, one element per cart with its
// route-ordered pick list ("items") and the goods on each shelf ("shelves").
// CartsLoader::exportCartsToJson exports the loader's own carts this way.

#include <list>
#include <string>

#include "model/cart.h"

// The exported plan of the given carts as compact JSON ("null" for none).
std::string exportCarts(const std::list<Cart>& carts,
                        bool includeShelves,
                        bool includeItems);
