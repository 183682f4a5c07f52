/* The browser floor's program: a trivial WebAssembly module whose one function the floor page
   calls before it paints its canvas. */
int floor_value(int x) { return x * 2 + 1; }
