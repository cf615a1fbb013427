tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
x0 = [ 0.0000e+00      ]
stmin = [ 'V_C1      -5.0000e+00    ' ]
stmax = [ 'V_C1      5.0000e+00     ' ]
% Circuit name : /home/user/lim

% Circuit Description
X = [ 'C1        1   0   1.0000e-06                 '   % C1
      'R1        1   0   1.0000e+00                 '   % R1
      'I01       1   0   0.0000e+00                 ' ]

% Output Description
Y = [ 'V         I01                                ' ]

% Number of nodes
numn = 2;
