namespace pemo {}
