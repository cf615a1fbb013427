tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
% Circuit name : /home/user/xf

% Circuit Description
X = [ 'V1        1   0   1.0000e+00                 '   % V1
      'R1        2   0   1.0000e+00                 '   % R1
      'R2        3   0   1.0000e+00                 '   % R2
      'I01       2   0   0.0000e+00                 ' ] % Vo

% Output Description
Y = [ 'V         I01                                ' ] % Vo

% Number of nodes
numn = 4;
