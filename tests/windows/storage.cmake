# The storage's Windows sources and their check program.
