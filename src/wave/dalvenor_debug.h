#pragma once

#include <atomic>
#include <list>
#include <map>
#include <vector>

#include "model/box.h"
#include "model/box_item.h"
#include "model/cart.h"
#include "model/customer.h"

// The program-wide debug switch: when set, the wave operations write their
// progress lines to standard error. One object for the whole process, safe
// to read and set from several threads.
extern std::atomic<bool> is_debug_on;

// Indented text dumps of the planning model on standard output.
void debugCustomerMultimap(CustomerMultimap customers);
void debugCustomer(Customer customer);
void debugCartsCustomers(std::list<Cart> carts);
void debugCartsOItems(std::list<Cart> carts, bool details);
void debugCartsBoxes(std::list<Cart> carts);
void debugCustomerBoxItems(std::vector<BoxItem> pieces);
void debugCustomerBoxes(std::vector<Box> boxes);
