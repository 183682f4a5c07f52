"""The board as the end-to-end drivers see it: the cell rectangles in board pixels (as
src/window/board_geometry.h lays them out) and the quotation laid out on the grid from the
board's own runs of letters. Shared by the Windows and the screen-reader drivers."""

BOARD_WIDTH, BOARD_HEIGHT = 606, 268
STATUS_RECT = (272, 4, 600, 46)
ALPHABET_CELLS, GRID_CELLS, GRID_COLUMNS = 26, 270, 30


def alphabet_rect(n):
    """(left, top, right, bottom) of alphabet cell n (1 to 26), right and bottom included."""
    left = ((n - 1) % 13) * 20 + 4
    top = ((n - 1) // 13) * 22 + 4
    return left, top, left + 18, top + 20


def puzzle_rect(n):
    """(left, top, right, bottom) of grid cell n (1 to 270), right and bottom included."""
    left = ((n - 1) % GRID_COLUMNS) * 20 + 4
    top = ((n - 1) // GRID_COLUMNS) * 22 + 64
    return left, top, left + 18, top + 20


def centre(rect):
    left, top, right, bottom = rect
    return (left + right) // 2, (top + bottom) // 2


def solution_layout(shown, quotation):
    """The quotation as laid out on the grid, from the runs of non-blank cells that `shown` (the
    270 cells' characters) holds; None when those runs do not have the shape of its words."""
    words = quotation.split(" ")
    runs, n = [], 0
    while n < GRID_CELLS:
        if shown[n] != " ":
            start = n
            while n < GRID_CELLS and shown[n] != " " and (n == start or n % GRID_COLUMNS != 0):
                n += 1
            runs.append((start, n))
        else:
            n += 1
    if len(runs) != len(words) or any(end - start != len(word) for (start, end), word in zip(runs, words)):
        return None
    layout = [" "] * GRID_CELLS
    for (start, end), word in zip(runs, words):
        layout[start:end] = word
    return "".join(layout)
