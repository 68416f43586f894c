# The device link's Windows sources and their check program.
