"""Three-dimensional box packing for the planner's packing scripts.

    from py3dbp import Packer, Bin, Item

    packer = Packer()
    packer.add_bin(Bin("masterBox", 28, 29, 45, 4000))
    packer.add_item(Item("1234;pack", 30, 20, 10, 2.5))
    packer.pack()                       # or pack(distribute_items=True)
    for b in packer.bins:
        placed, left = b.items, b.unfitted_items

Bin.string() and Item.string() begin with the name followed directly by "(".
"""

from .model import Bin, Item, Packer

__all__ = ["Bin", "Item", "Packer"]
